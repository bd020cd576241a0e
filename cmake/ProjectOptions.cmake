# Warnings are errors for the project's own code only; Qt's and libcurl's headers come in as
# system headers and stay out of it.
function(gw_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  if(GW_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Each layer's headers are reached as "layer/Header.h" through an include root that holds that
# layer alone, so a target sees only the layers it links: a core library that tried to include
# "ui/..." would not compile.
function(gw_layer_includes target layer)
  set(root ${CMAKE_BINARY_DIR}/layers/${layer})
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${layer})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${layer} ${root}/${layer} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# A static library for one folder of src/.
function(gw_library name)
  add_library(${name} STATIC ${ARGN})
  gw_layer_includes(${name} ${name})
  gw_target_defaults(${name})
endfunction()

# One GoogleTest executable per layer, registered with CTest case by case.
function(gw_test name)
  add_executable(${name} ${ARGN})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gw_target_defaults(${name})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock test_support)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
