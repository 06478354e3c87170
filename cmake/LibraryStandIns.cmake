# Stand-ins: small libraries, each carrying a real library's name (its
# soname), built beside the window module and loaded before it
# (platform/drivers/LibraryStandIns), so that the loader takes them for the
# real ones, which are then never mapped with all they bring.

# _zorbel_stand_in(MODULE NAME SONAME SOURCE [VERSION_SCRIPT])
# Builds lib/zorbel/libzorbel-no-NAME.so from the C SOURCE text, under
# SONAME, with the symbol versions of VERSION_SCRIPT if any; installed beside
# the modules and built with MODULE.
function(_zorbel_stand_in module name soname source)
  set(_dir ${PROJECT_BINARY_DIR}/library-stand-ins)
  set(_target zorbel-no-${name})
  file(CONFIGURE OUTPUT ${_dir}/${name}.c CONTENT "${source}" @ONLY)
  add_library(${_target} SHARED ${_dir}/${name}.c)
  set_target_properties(${_target} PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/lib/zorbel
    NO_SONAME ON C_VISIBILITY_PRESET hidden)
  # Nothing of the sanitizers: the stand-ins are loaded into programs built
  # without them as well, and run no code of note. Their functions are all
  # declared alike, whatever the real ones' types (no warnings about those).
  target_compile_options(${_target} PRIVATE -fno-sanitize=all -fno-builtin -w)
  target_link_options(${_target} PRIVATE -fno-sanitize=all "-Wl,-soname,${soname}")
  if(ARGC GREATER 4 AND ARGV4)
    file(CONFIGURE OUTPUT ${_dir}/${name}.map CONTENT "${ARGV4}" @ONLY)
    set_target_properties(${_target} PROPERTIES LINK_DEPENDS ${_dir}/${name}.map)
    target_link_options(${_target} PRIVATE "-Wl,--version-script=${_dir}/${name}.map")
  endif()
  install(TARGETS ${_target} LIBRARY DESTINATION lib/zorbel)
  add_dependencies(${module} ${_target})
endfunction()

# A stand-in's source is made in the caller's scope (macros): with _source
# holding its first line and _versions empty, _zorbel_stand_in_symbol(
# DECLARATION SYMBOL VERSION) adds an exported definition of SYMBOL (under
# VERSION, unless empty), and _zorbel_stand_in_finish(MODULE NAME SONAME)
# builds it, with its symbol versions, and adds SONAME to _made.
macro(_zorbel_stand_in_symbol declaration symbol version)
  string(APPEND _source "__attribute__((visibility(\"default\"))) ${declaration}\n")
  if(NOT "${version}" STREQUAL "")
    string(MAKE_C_IDENTIFIER "${version}" _key)
    if(NOT _key IN_LIST _versions)
      list(APPEND _versions ${_key})
      set(_name_of_${_key} ${version})
      set(_symbols_of_${_key})
    endif()
    list(APPEND _symbols_of_${_key} ${symbol})
  endif()
endmacro()
macro(_zorbel_stand_in_finish module name soname)
  set(_script "")
  foreach(_key ${_versions})
    list(JOIN _symbols_of_${_key} "; " _list)
    string(APPEND _script "${_name_of_${_key}} { global: ${_list}; };\n")
  endforeach()
  _zorbel_stand_in(${module} ${name} ${soname} "${_source}" "${_script}")
  list(APPEND _made ${soname})
endmacro()

# _zorbel_read_sdl(SDL_LIBRARY OUT_HEADERS [OUT_UNDEFINED]): objdump's headers
# of SDL_LIBRARY (its NEEDED entries) and the dynamic symbols it takes from
# other libraries, one per list item; OUT_HEADERS is empty if it cannot be read.
function(_zorbel_read_sdl sdl out_headers)
  set(${out_headers} "" PARENT_SCOPE)
  if(NOT sdl OR NOT EXISTS "${sdl}" OR NOT CMAKE_NM OR NOT CMAKE_OBJDUMP)
    return()
  endif()
  execute_process(COMMAND ${CMAKE_OBJDUMP} -p "${sdl}" OUTPUT_VARIABLE _headers
                  RESULT_VARIABLE _r1 ERROR_QUIET)
  execute_process(COMMAND ${CMAKE_NM} -D --undefined-only "${sdl}" OUTPUT_VARIABLE _undefined
                  RESULT_VARIABLE _r2 ERROR_QUIET)
  if(NOT _r1 EQUAL 0 OR NOT _r2 EQUAL 0)
    return()
  endif()
  string(REPLACE "\n" ";" _undefined "${_undefined}")
  set(${out_headers} "${_headers}" PARENT_SCOPE)
  if(ARGC GREATER 2)
    set(${ARGV2} "${_undefined}" PARENT_SCOPE)
  endif()
endfunction()

# zorbel_sound_stand_ins(MODULE SDL_LIBRARY)
# Debian's SDL links its sound libraries (PulseAudio, ALSA, libsamplerate)
# instead of loading them when sound is started, and PulseAudio brings some
# twenty more (its codecs, systemd, crypto): a third of what the window's
# launch maps, and of its time. The app makes no sound. For each of those
# libraries that SDL_LIBRARY names, a stand-in offers every function SDL
# takes from it, under the same symbol versions, each an inert one that
# fails. They are generated from the SDL found here; an SDL that wants more
# than they give loads the real libraries instead (the launch logs why).
function(zorbel_sound_stand_ins module sdl)
  _zorbel_read_sdl("${sdl}" _headers _undefined)
  if(NOT _headers)
    message(STATUS "Sound stand-ins: not made (no readable SDL library, nm or objdump)")
    return()
  endif()
  set(_made)
  # name | soname | prefix of its functions | what its failing functions return
  foreach(_entry "pulse|libpulse.so.0|pa_|0" "asound|libasound.so.2|snd_|-19"
                 "samplerate|libsamplerate.so.0|src_|0")
    string(REPLACE "|" ";" _entry "${_entry}")
    list(GET _entry 0 _name)
    list(GET _entry 1 _soname)
    list(GET _entry 2 _prefix)
    list(GET _entry 3 _fails)
    string(REPLACE "." "\\." _soname_re "${_soname}")
    if(NOT _headers MATCHES "NEEDED +${_soname_re}")
      continue()
    endif()
    set(_source "// Generated from ${sdl}: stands in for ${_soname}, which the app never uses.\n")
    set(_versions)
    foreach(_line ${_undefined})
      if(NOT _line MATCHES " U (${_prefix}[A-Za-z0-9_]+)(@([^ ]+))?$")
        continue()
      endif()
      set(_symbol ${CMAKE_MATCH_1})
      set(_version ${CMAKE_MATCH_3})
      if(_symbol MATCHES "strerror$")
        # Those that return text, which SDL prints.
        _zorbel_stand_in_symbol("const char* ${_symbol}(int error) { (void)error; return \"no sound\"; }"
                                ${_symbol} "${_version}")
      else()
        _zorbel_stand_in_symbol("long ${_symbol}(void) { return ${_fails}; }" ${_symbol} "${_version}")
      endif()
    endforeach()
    _zorbel_stand_in_finish(${module} ${_name} ${_soname})
  endforeach()
  list(JOIN _made ", " _made)
  message(STATUS "Sound stand-ins: ${_made}")
endfunction()

# zorbel_dbus_stand_in(MODULE)
# Where no session bus can be had, SDL goes on without D-Bus, but only after
# loading libdbus and the eight libraries it brings to find that out. A
# library under libdbus's name that offers nothing is loaded first in that
# case: SDL finds none of the functions it looks for and does without D-Bus
# at once.
function(zorbel_dbus_stand_in module)
  _zorbel_stand_in(${module} dbus libdbus-1.so.3
    "// Stands in for libdbus-1.so.3 where no session bus can be had: it offers nothing.\n__attribute__((visibility(\"default\"))) int zorbel_no_dbus;\n")
endfunction()

# zorbel_x11_stand_ins(MODULE SDL_LIBRARY)
# Debian's SDL also links what its other window systems need: Wayland's
# client libraries, libdecor and libxkbcommon for Wayland windows, libgbm and
# libdrm for the console's (KMS/DRM). An X11 window uses none of them, and
# they map nine libraries. For each of those SDL_LIBRARY names, a stand-in
# offers the real library's whole interface, read from the real library:
# every function answers 0 (no display, no device: SDL's other window systems
# find nothing), every data object is as large and all zero. The launch
# loads them only when the window will be X11's.
function(zorbel_x11_stand_ins module sdl)
  _zorbel_read_sdl("${sdl}" _headers)
  if(NOT _headers)
    message(STATUS "X11 stand-ins: not made (no readable SDL library, nm or objdump)")
    return()
  endif()
  set(_made)
  # name | soname; the window module itself links Wayland's client library.
  foreach(_entry "wayland-client|libwayland-client.so.0" "wayland-egl|libwayland-egl.so.1"
                 "wayland-cursor|libwayland-cursor.so.0" "xkbcommon|libxkbcommon.so.0"
                 "decor|libdecor-0.so.0" "gbm|libgbm.so.1" "drm|libdrm.so.2")
    string(REPLACE "|" ";" _entry "${_entry}")
    list(GET _entry 0 _name)
    list(GET _entry 1 _soname)
    string(REPLACE "." "\\." _soname_re "${_soname}")
    if(NOT _headers MATCHES "NEEDED +${_soname_re}" AND NOT _name STREQUAL "wayland-client")
      continue()
    endif()
    unset(_real)
    find_library(_real NAMES ${_soname} NO_CACHE)
    if(NOT _real)
      continue()
    endif()
    execute_process(COMMAND ${CMAKE_NM} -D --defined-only -S "${_real}" OUTPUT_VARIABLE _defined
                    RESULT_VARIABLE _r ERROR_QUIET)
    if(NOT _r EQUAL 0)
      continue()
    endif()
    string(REPLACE "\n" ";" _defined "${_defined}")
    set(_source "// Generated from ${_real}: stands in for ${_soname}, which an X11 window never uses.\n")
    set(_versions)
    foreach(_line ${_defined})
      # "address [size] type name[@@version]"; a name@version (one @) is an
      # older version kept for old programs: not what SDL binds to.
      if(NOT _line MATCHES "^[0-9a-f]+ ([0-9a-f]+ )?([TWiDBRV]) ([A-Za-z0-9_]+)(@@([^ ]+))?$")
        continue()
      endif()
      set(_size ${CMAKE_MATCH_1})
      set(_type ${CMAKE_MATCH_2})
      set(_symbol ${CMAKE_MATCH_3})
      set(_version ${CMAKE_MATCH_5})
      if(_type MATCHES "[TWi]")
        _zorbel_stand_in_symbol("long ${_symbol}(void) { return 0; }" ${_symbol} "${_version}")
      else()
        string(STRIP "${_size}" _size)
        if(NOT _size OR _size MATCHES "^0+$")
          set(_size 1)
        endif()
        _zorbel_stand_in_symbol("unsigned char ${_symbol}[0x${_size}];" ${_symbol} "${_version}")
      endif()
    endforeach()
    _zorbel_stand_in_finish(${module} ${_name} ${_soname})
  endforeach()
  list(JOIN _made ", " _made)
  message(STATUS "X11 stand-ins: ${_made}")
endfunction()
