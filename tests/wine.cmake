# Runs Windows test executables under 64-bit Wine with a prefix and an Xvfb
# display private to this build folder.
set(VL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(VL_XVFB_DISPLAY ":77" CACHE STRING "Xvfb display used by the Windows tests")
configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-exec.in ${CMAKE_BINARY_DIR}/wine-exec @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-exec PARENT_SCOPE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-exec)
set(VL_WINE_TEST_ENV "DISPLAY=${VL_XVFB_DISPLAY}")

add_test(NAME wine_session_start
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-session start ${VL_WINEPREFIX} ${VL_XVFB_DISPLAY})
add_test(NAME wine_session_stop
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-session stop ${VL_WINEPREFIX} ${VL_XVFB_DISPLAY})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine RESOURCE_LOCK wine)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine RESOURCE_LOCK wine)
