# zorbel_sound_stand_ins(MODULE SDL_LIBRARY)
# Debian's SDL links its sound libraries (PulseAudio, ALSA, libsamplerate)
# instead of loading them when sound is started, and PulseAudio brings some
# twenty more (its codecs, systemd, crypto): a third of what the window's
# launch maps, and of its time. The app makes no sound. For each of those
# libraries that SDL_LIBRARY names, a stand-in is built beside MODULE: a small
# library carrying the real one's name (its soname) and every function SDL
# takes from it, under the same symbol versions, each an inert one that fails.
# The launch loads them before the module (platform/drivers/LibraryStandIns),
# so that the loader takes them for the real ones. They are generated from
# the SDL found here; an SDL that wants more than they give loads the real
# libraries instead (the launch logs why).
function(zorbel_sound_stand_ins module sdl)
  if(NOT sdl OR NOT EXISTS "${sdl}" OR NOT CMAKE_NM OR NOT CMAKE_OBJDUMP)
    message(STATUS "Sound stand-ins: not made (no SDL library, nm or objdump)")
    return()
  endif()
  execute_process(COMMAND ${CMAKE_OBJDUMP} -p "${sdl}" OUTPUT_VARIABLE _headers
                  RESULT_VARIABLE _r1 ERROR_QUIET)
  execute_process(COMMAND ${CMAKE_NM} -D --undefined-only "${sdl}" OUTPUT_VARIABLE _undefined
                  RESULT_VARIABLE _r2 ERROR_QUIET)
  if(NOT _r1 EQUAL 0 OR NOT _r2 EQUAL 0)
    message(STATUS "Sound stand-ins: not made (${sdl} could not be read)")
    return()
  endif()
  string(REPLACE "\n" ";" _undefined "${_undefined}")
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
        string(APPEND _source "__attribute__((visibility(\"default\"))) const char* ${_symbol}(int error) { (void)error; return \"no sound\"; }\n")
      else()
        string(APPEND _source "__attribute__((visibility(\"default\"))) long ${_symbol}(void) { return ${_fails}; }\n")
      endif()
      if(_version)
        string(MAKE_C_IDENTIFIER "${_version}" _key)
        if(NOT _key IN_LIST _versions)
          list(APPEND _versions ${_key})
          set(_name_of_${_key} ${_version})
          set(_symbols_of_${_key})
        endif()
        list(APPEND _symbols_of_${_key} ${_symbol})
      endif()
    endforeach()
    set(_script "")
    foreach(_key ${_versions})
      list(JOIN _symbols_of_${_key} "; " _list)
      string(APPEND _script "${_name_of_${_key}} { global: ${_list}; };\n")
    endforeach()
    set(_dir ${PROJECT_BINARY_DIR}/library-stand-ins)
    file(CONFIGURE OUTPUT ${_dir}/${_name}.c CONTENT "${_source}" @ONLY)
    file(CONFIGURE OUTPUT ${_dir}/${_name}.map CONTENT "${_script}" @ONLY)
    set(_target zorbel-no-${_name})
    add_library(${_target} SHARED ${_dir}/${_name}.c)
    set_target_properties(${_target} PROPERTIES
      LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/lib/zorbel
      NO_SONAME ON C_VISIBILITY_PRESET hidden LINK_DEPENDS ${_dir}/${_name}.map)
    # Nothing of the sanitizers: the stand-ins are loaded into programs
    # built without them as well, and run no code of note.
    target_compile_options(${_target} PRIVATE -fno-sanitize=all)
    target_link_options(${_target} PRIVATE -fno-sanitize=all
      "-Wl,-soname,${_soname}" "-Wl,--version-script=${_dir}/${_name}.map")
    install(TARGETS ${_target} LIBRARY DESTINATION lib/zorbel)
    add_dependencies(${module} ${_target})
    list(APPEND _made ${_soname})
  endforeach()
  list(JOIN _made ", " _made)
  message(STATUS "Sound stand-ins: ${_made}")
endfunction()

# zorbel_dbus_stand_in(MODULE)
# Where no session bus can be had, SDL goes on without D-Bus, but only after
# loading libdbus and the eight libraries it brings to find that out. A
# library under libdbus's name that offers nothing, built beside MODULE, is
# loaded first in that case (platform/drivers/LibraryStandIns): SDL finds
# none of the functions it looks for and does without D-Bus at once.
function(zorbel_dbus_stand_in module)
  set(_dir ${PROJECT_BINARY_DIR}/library-stand-ins)
  file(CONFIGURE OUTPUT ${_dir}/dbus.c @ONLY CONTENT
    "// Stands in for libdbus-1.so.3 where no session bus can be had: it offers nothing.\nint zorbel_no_dbus;\n")
  add_library(zorbel-no-dbus SHARED ${_dir}/dbus.c)
  set_target_properties(zorbel-no-dbus PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/lib/zorbel NO_SONAME ON)
  target_compile_options(zorbel-no-dbus PRIVATE -fno-sanitize=all)
  target_link_options(zorbel-no-dbus PRIVATE -fno-sanitize=all "-Wl,-soname,libdbus-1.so.3")
  install(TARGETS zorbel-no-dbus LIBRARY DESTINATION lib/zorbel)
  add_dependencies(${module} zorbel-no-dbus)
endfunction()
