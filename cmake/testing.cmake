# GoogleTest from the Debian source package, built with the project's own compiler (the
# cross compiler has no prebuilt copy), and qxi_add_test, which every test program uses.
enable_testing()

set(QXI_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${QXI_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

if(WIN32 AND QXI_WINE_TESTS)
  # One fixture creates the Wine prefix before the first test and one stops its wineserver
  # and deletes it after the last.
  add_test(NAME wine_prefix_start
           COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh start ${QXI_WINEPREFIX} ${QXI_WINEARCH})
  set_tests_properties(wine_prefix_start PROPERTIES FIXTURES_SETUP wine)
  add_test(NAME wine_prefix_stop
           COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh remove ${QXI_WINEPREFIX} ${QXI_WINEARCH})
  set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

# qxi_add_test(NAME SOURCES... [LIBS...] [NO_GTEST_MAIN] [OWN_WINEPREFIX]): a test program
# linked with the engine and GoogleTest, run by ctest (under Wine for the Windows build).
# OWN_WINEPREFIX runs it in a Wine prefix of its own, for tests that act on the whole prefix
# (such as a simulated restart); that prefix is made once and its server stopped afterwards.
function(qxi_add_test name)
  cmake_parse_arguments(ARG "NO_GTEST_MAIN;OWN_WINEPREFIX" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_NO_GTEST_MAIN)
    target_link_libraries(${name} PRIVATE gtest ${ARG_LIBS})
  else()
    target_link_libraries(${name} PRIVATE gtest_main ${ARG_LIBS})
  endif()
  if(WIN32)
    # The string table lives in the module's resources: test programs carry their own copy.
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src/resources/qxi.rc)
  endif()
  if(WIN32 AND NOT QXI_WINE_TESTS)
    return()
  endif()
  if(WIN32 AND ARG_OWN_WINEPREFIX)
    set(prefix ${CMAKE_BINARY_DIR}/wineprefix-${name})
    add_test(NAME ${name}
             COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${prefix} ${QXI_WINEARCH}
                     $<TARGET_FILE:${name}>)
    add_test(NAME ${name}_prefix_stop
             COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh remove ${prefix} ${QXI_WINEARCH})
    set_tests_properties(${name}_prefix_stop PROPERTIES FIXTURES_CLEANUP ${name}_prefix)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED ${name}_prefix TIMEOUT 600)
    return()
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)
  else()
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  endif()
endfunction()
