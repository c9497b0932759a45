# Shared flags and helpers for the project's own targets.

set(KORU_WARNINGS -Wall -Wextra -Werror)
set(KORU_SAN_FLAGS "")
if(KORU_SANITIZE)
  set(KORU_SAN_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
elseif(KORU_TSAN)
  set(KORU_SAN_FLAGS -fsanitize=thread -fno-omit-frame-pointer)
endif()
if(KORU_SAN_FLAGS)
  add_compile_options(${KORU_SAN_FLAGS})
  add_link_options(${KORU_SAN_FLAGS})
endif()
if(KORU_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# koru_library(name SOURCES ... DEPS ...): one static library per layer.
function(koru_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${KORU_WARNINGS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# koru_test(name SOURCES ... DEPS ... [LABELS ...]): a GoogleTest executable registered with ctest.
function(koru_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${KORU_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  # One variable only: a second would be split off the list as a property name.
  # Qt tests get QT_QPA_PLATFORM=offscreen from scripts/test (or set it themselves).
  set(props ENVIRONMENT "KORU_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  if(ARG_LABELS)
    list(APPEND props LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()

# koru_benchmark(name SOURCES ... DEPS ...)
function(koru_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${KORU_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
endfunction()

# koru_fuzzer(name SOURCES ... DEPS ...): a libFuzzer target (clang only).
function(koru_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
endfunction()

# koru_layer(name DEPS ... [EXCLUDE regex]): the static library of a folder, from every .cpp
# below it except those whose path matches EXCLUDE (a subfolder that is a library of its own).
function(koru_layer name)
  cmake_parse_arguments(ARG "" "EXCLUDE" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  koru_library(${name} SOURCES ${sources} DEPS ${ARG_DEPS})
endfunction()

# koru_layer_tests(name DEPS ... [LABELS ...]): one test executable from every *.cpp of a tests/ folder.
function(koru_layer_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  koru_test(${name} SOURCES ${sources} DEPS ${ARG_DEPS} LABELS ${ARG_LABELS})
endfunction()

# Adds every subfolder of the current folder that has a CMakeLists.txt (tests/,
# bench/, fuzz/, tools/ mirror the source folders); those of the UI layers only with Qt.
function(koru_add_subfolders)
  file(GLOB subs LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT subs)
  foreach(sub IN LISTS subs)
    if(NOT KORU_UI AND sub MATCHES "^(toolkit|toolkit_window|controls|devices|audio|editors|windows|app|skin|platform_qt)$")
      continue()
    endif()
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt)
      add_subdirectory(${sub})
    endif()
  endforeach()
endfunction()
