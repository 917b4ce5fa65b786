# One interface target carries the language level, warnings and defines that
# every target of the workbench uses.
add_library(lirno_config INTERFACE)
target_compile_features(lirno_config INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(lirno_config INTERFACE -Wall -Wextra)
target_compile_definitions(lirno_config INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_URL_CAST_FROM_STRING)

if(LIRNO_SANITIZE)
  target_compile_options(lirno_config INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(lirno_config INTERFACE -fsanitize=address,undefined)
endif()

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

# lirno_add_core(name sources...): a Qt-free library of a subsystem.
function(lirno_add_core name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC lirno_config)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
endfunction()

# lirno_add_ui(name sources...): the forms of a subsystem.
function(lirno_add_ui name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC lirno_config Qt6::Widgets)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()

# lirno_add_test(name SOURCES ... LIBS ... [QT]): one GoogleTest program, one
# CTest entry per program. QT tests get a QApplication on the offscreen
# platform.
function(lirno_add_test name)
  cmake_parse_arguments(T "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE lirno_config ${T_LIBS} GTest::gtest)
  if(T_QT)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp)
    target_link_libraries(${name} PRIVATE Qt6::Widgets Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    LIRNO_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    LIRNO_SAMPLE_DATA="${PROJECT_SOURCE_DIR}/data")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
    TIMEOUT 120)
endfunction()
