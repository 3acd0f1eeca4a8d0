# pivro_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>]
#                [DEPENDS <targets...>] [GUI])
# One test executable, one CTest entry: a Wine process start costs far more
# than a test case, so cases are grouped per executable.
# GUI marks a test that needs an X display; scripts/wine-run.sh gives it one.
# DEPENDS names fixture programs (stand-in compilers and the like) that the
# test finds beside itself.
function(pivro_add_test)
  cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} pivro_test_support GTest::gtest GTest::gtest_main)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  if(T_DEPENDS)
    add_dependencies(${T_NAME} ${T_DEPENDS})
  endif()
  set(gui_flag "")
  if(T_GUI)
    set(gui_flag --gui)
  endif()
  if(CMAKE_CROSSCOMPILING)
    set(command bash "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh" ${gui_flag} "$<TARGET_FILE:${T_NAME}>")
  else()  # built on Windows itself: the test runs natively
    set(command "$<TARGET_FILE:${T_NAME}>")
  endif()
  add_test(NAME ${T_NAME} COMMAND ${command} WORKING_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 900)
endfunction()

# pivro_add_fixture_program(<name> OUTPUT_NAME <exe name without .exe>
#                           SOURCES <files...> [SUBDIR <folder under tests/fixtures>])
# A small Windows program that a test runs or inspects (a stand-in cl.exe,
# gcc.exe, devcpp.exe). Placed under <build>/tests/fixtures/<SUBDIR>.
function(pivro_add_fixture_program name)
  cmake_parse_arguments(F "" "OUTPUT_NAME;SUBDIR" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  if(F_LIBS)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
  endif()
  set_target_properties(${name} PROPERTIES
    OUTPUT_NAME ${F_OUTPUT_NAME}
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests/fixtures/${F_SUBDIR}")
endfunction()
