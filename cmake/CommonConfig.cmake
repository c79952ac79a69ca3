# One interface target carries the compile settings every target shares.
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

add_library(veskaron_config INTERFACE)
target_compile_features(veskaron_config INTERFACE cxx_std_20)
target_compile_options(veskaron_config INTERFACE -Wall -Wextra)
target_compile_definitions(veskaron_config INTERFACE
  QT_NO_CONTEXTLESS_CONNECT QT_NO_KEYWORDS)
if(VESKARON_WERROR)
  target_compile_options(veskaron_config INTERFACE -Werror)
endif()
if(VESKARON_SANITIZE)
  target_compile_options(veskaron_config INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(veskaron_config INTERFACE -fsanitize=address,undefined)
endif()

# Adds a static library from every source file of the calling folder.
function(veskaron_library name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${_src})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC veskaron_config ${ARGN})
endfunction()

# One GoogleTest executable from every source file of the calling folder.
function(veskaron_gtest name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT _src)
    return()
  endif()
  add_executable(${name} ${_src})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main veskaron_config)
  target_compile_definitions(${name} PRIVATE VESKARON_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# One Qt Test executable per tst_*.cpp file of the calling folder.
function(veskaron_qtest)
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  foreach(_t ${_tests})
    get_filename_component(_n ${_t} NAME_WE)
    add_executable(${_n} ${_t})
    target_link_libraries(${_n} PRIVATE ${ARGN} Qt6::Test veskaron_config)
    add_test(NAME ${_n} COMMAND ${_n})
    set_tests_properties(${_n} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endforeach()
endfunction()
