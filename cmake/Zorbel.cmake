# zorbel_library(NAME DIRS [DEPS ...])
# A static library of every .cpp in the folders DIRS (a ;-list, not recursive,
# main.cpp excluded). Sources are globbed so
# that adding a file needs no CMake edit.
function(zorbel_library name dirs)
  set(_srcs)
  foreach(dir ${dirs})
    file(GLOB _more CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND _srcs ${_more})
  endforeach()
  # A process entry (main.cpp) belongs to an executable, never to the library.
  list(FILTER _srcs EXCLUDE REGEX "/main\\.cpp$")
  if(NOT _srcs)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
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
  target_link_libraries(${name} PUBLIC ${ARGN})
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
