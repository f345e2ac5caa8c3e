# Build conventions shared by every library, program, test and benchmark.

# Adds every direct or nested folder below DIR that has its own CMakeLists.txt,
# in sorted order. Nested folders are reached through their parent when the
# parent has a CMakeLists.txt, otherwise directly.
function(mareldon_add_subdirectories dir)
  set(base ${CMAKE_CURRENT_SOURCE_DIR}/${dir})
  if(EXISTS ${base}/CMakeLists.txt)
    add_subdirectory(${base})
    return()
  endif()
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${base} CONFIGURE_DEPENDS ${base}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY ${base}/${child})
      mareldon_add_subdirectories(${dir}/${child})
    endif()
  endforeach()
endfunction()

# Inside a folder with its own CMakeLists.txt: add the sub-folders that have one.
function(mareldon_add_child_directories)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# Warnings, float determinism and sanitizers, the same for every target.
function(mareldon_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off -fno-fast-math)
  if(MARELDON_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(MARELDON_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(MARELDON_TSAN)
    target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=thread)
  endif()
  if(MARELDON_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# One static library from the .cpp files of the current folder.
#   mareldon_add_library(mareldon_core DEPS lib... [PUBLIC_DEPS lib...])
function(mareldon_add_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;PUBLIC_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  # Noted for the layer check (cmake/Layers.cmake).
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set_property(GLOBAL APPEND PROPERTY MARELDON_LIBRARIES ${name})
  set_property(GLOBAL PROPERTY MARELDON_FOLDER_${name} ${folder})
  if(NOT sources)
    # A folder with headers only (so far) still gives a target others can link.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS} ${ARG_PUBLIC_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} ${ARG_PUBLIC_DEPS})
  mareldon_target_defaults(${name})
endfunction()

# One GoogleTest program from the *Test.cpp files of the current folder.
#   mareldon_add_tests(core_tests LIBS mareldon_core)
# SERIAL: the tests talk to a real-time peer (a child process on a pty), so they run
# alone, never beside the sanitizer-heavy suite, and share the e2e tests' lock.
function(mareldon_add_tests name)
  cmake_parse_arguments(ARG "SERIAL" "" "LIBS;SOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
  if(NOT sources AND NOT ARG_SOURCES)
    return()
  endif()
  add_executable(${name} ${sources} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  mareldon_target_defaults(${name})
  # An absolute path: __FILE__ is relative under ccache's base_dir or a prefix map.
  target_compile_definitions(${name} PRIVATE MARELDON_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  set(serial)
  if(ARG_SERIAL)
    set(serial RESOURCE_LOCK e2e RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy" ${serial})
endfunction()

# One Google Benchmark program.
#   mareldon_add_bench(bench_core SOURCES x.cpp LIBS mareldon_core)
function(mareldon_add_bench name)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
  mareldon_target_defaults(${name})
endfunction()

# A libFuzzer target. With MARELDON_FUZZ it links libFuzzer; otherwise it is built
# with a small driver that replays the seed and regression inputs in
# fuzz/corpus/<name>/ as a CTest test, so every found crash stays fixed.
#   mareldon_add_fuzzer(fuzz_iimg SOURCES FuzzIimg.cpp LIBS mareldon_render_device)
function(mareldon_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  if(MARELDON_FUZZ)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    mareldon_target_defaults(${name})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  elseif(MARELDON_TESTS)
    add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    mareldon_target_defaults(${name})
    add_test(NAME ${name}.corpus COMMAND ${name} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
  endif()
endfunction()
