# zorbel_library(NAME DIRS [EXCLUDE REGEX] [DEPS ...])
# A static library of every .cpp in the folders DIRS (a ;-list, not recursive,
# main.cpp excluded, and the files whose path matches REGEX: they go to a
# module). Sources are globbed so that adding a file needs no CMake edit.
function(zorbel_library name dirs)
  cmake_parse_arguments(PARSE_ARGV 2 _opt "" "EXCLUDE" "")
  set(_srcs)
  foreach(dir ${dirs})
    file(GLOB _more CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND _srcs ${_more})
  endforeach()
  # A process entry (main.cpp) belongs to an executable, never to the library.
  list(FILTER _srcs EXCLUDE REGEX "/main\\.cpp$")
  if(_opt_EXCLUDE)
    list(FILTER _srcs EXCLUDE REGEX "${_opt_EXCLUDE}")
  endif()
  if(NOT _srcs)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${_opt_UNPARSED_ARGUMENTS})
    return()
  endif()
  add_library(${name} STATIC ${_srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${ZORBEL_WARNINGS})
  # Only the resource lookup knows the build's folders, so that every other
  # object is the same in any checkout (and ccache can share it).
  foreach(src ${_srcs})
    if(src MATCHES "/ResourceBundle\\.cpp$")
      set_source_files_properties(${src} PROPERTIES COMPILE_DEFINITIONS
        "ZORBEL_RESOURCE_BUILD_DIR=\"${ZORBEL_RESOURCE_BUILD_DIR}\";ZORBEL_RESOURCE_INSTALL_DIR=\"${ZORBEL_RESOURCE_INSTALL_DIR}\"")
    endif()
  endforeach()
  target_link_libraries(${name} PUBLIC ${_opt_UNPARSED_ARGUMENTS})
endfunction()

# zorbel_module(NAME DIR REGEX HEADERS [LIBS ...])
# A module: a shared object lib<NAME>.so of the .cpp files in DIR whose path
# matches REGEX, built into lib/zorbel/ of the build folder and installed into
# lib/zorbel/ of the prefix (where platform/foundation/LoadableModule looks).
# It links only LIBS (its system libraries): the platform code it calls is the
# program's own, exported by the executable that loads it (zorbel_exports), so
# that there is one Application, one run loop, one log. HEADERS (a ;-list of
# targets) give it their include folders, without linking them.
function(zorbel_module name dir regex headers)
  file(GLOB _srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  list(FILTER _srcs INCLUDE REGEX "${regex}")
  add_library(${name} SHARED ${_srcs})
  set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/lib/zorbel)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  foreach(t ${headers})
    target_include_directories(${name} SYSTEM PRIVATE
      $<TARGET_PROPERTY:${t},INTERFACE_INCLUDE_DIRECTORIES>)
  endforeach()
  target_compile_options(${name} PRIVATE ${ZORBEL_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARGN})
  install(TARGETS ${name} LIBRARY DESTINATION lib/zorbel)
endfunction()

# zorbel_exports(TARGET)
# An executable whose symbols the modules it loads (or links) bind to; the
# modules are built with it, so that it finds them in lib/zorbel/.
# The program's own objects a module calls are linked into it even when
# nothing in the program calls them (a static library's unused objects are
# otherwise left out): every platform symbol the modules leave undefined is
# asked for by name.
function(zorbel_exports target)
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
  set(_needs ${PROJECT_BINARY_DIR}/module-needs.rsp)
  if(NOT TARGET zorbel_module_needs)
    add_custom_command(OUTPUT ${_needs}
      COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/module-needs.sh ${_needs}
              $<TARGET_FILE:zorbel-window> $<TARGET_FILE:zorbel-camera>
      DEPENDS zorbel-window zorbel-camera ${PROJECT_SOURCE_DIR}/cmake/module-needs.sh
      COMMENT "Listing the program's symbols the modules call")
    add_custom_target(zorbel_module_needs DEPENDS ${_needs})
  endif()
  add_dependencies(${target} zorbel-window zorbel-camera zorbel_module_needs)
  target_link_options(${target} PRIVATE "@${_needs}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${_needs})
endfunction()

# zorbel_test(NAME DIR [DEPS ...])
# One GoogleTest program from every .cpp in DIR; each test case is its own ctest test.
function(zorbel_test name dir)
  file(GLOB _srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  list(FILTER _srcs EXCLUDE REGEX "/main\\.cpp$")
  if(NOT _srcs)
    return()
  endif()
  # IsolatedHome.cpp points the settings, documents and album folders of every
  # test program into the build folder, away from the real user's files.
  add_executable(${name} ${_srcs} ${PROJECT_SOURCE_DIR}/tests/support/IsolatedHome.cpp)
  target_compile_options(${name} PRIVATE ${ZORBEL_WARNINGS})
  target_compile_definitions(${name} PRIVATE
    ZORBEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ZORBEL_BINARY_DIR="${PROJECT_BINARY_DIR}"
    ZORBEL_RESOURCE_BUILD_DIR="${ZORBEL_RESOURCE_BUILD_DIR}")
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "ZORBEL_TEST_TMP=${PROJECT_BINARY_DIR}/test-tmp")
endfunction()

# zorbel_benchmark(NAME SOURCE [DEPS ...])
function(zorbel_benchmark name src)
  add_executable(${name} ${src} ${PROJECT_SOURCE_DIR}/bench/support/AppAllocator.cpp)
  target_compile_options(${name} PRIVATE ${ZORBEL_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARGN} benchmark::benchmark benchmark::benchmark_main)
endfunction()
