# Windows build: QDX.exe, the portable tests again, in-process Win32 tests and end-to-end
# tests, all run by CTest under Wine (scripts/wine-exec.sh sets the environment).
enable_language(RC)
# The product is the 32-bit program; a 64-bit build of the same sources runs the Windows tests
# on machines that cannot run 32-bit programs. Its manifest names its own architecture, and its
# programs run under 64-bit Wine.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QDX_MANIFEST_ARCH amd64)
  set(QDX_WINE_ARCH win64)
else()
  set(QDX_MANIFEST_ARCH x86)
  set(QDX_WINE_ARCH win32)
endif()
configure_file(${CMAKE_SOURCE_DIR}/res/qdx.manifest.in ${CMAKE_BINARY_DIR}/res/qdx.manifest @ONLY)
set(CMAKE_RC_FLAGS
    "${CMAKE_RC_FLAGS} -c 65001 -I ${CMAKE_BINARY_DIR}/res -I ${CMAKE_SOURCE_DIR}/res")
set(CMAKE_CROSSCOMPILING_EMULATOR env QDX_WINE_ARCH=${QDX_WINE_ARCH}
                                  ${CMAKE_SOURCE_DIR}/scripts/wine-exec.sh)

# Wine finds no MinGW DLLs: the C and C++ run-times and winpthread are linked in.
add_link_options(-static -static-libgcc -static-libstdc++)
set(QDX_WIN_LIBS comctl32 comdlg32 version shell32 ole32 uuid gdi32 user32 kernel32)

target_compile_definitions(qdx_core PUBLIC WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)

add_library(qdx_app STATIC ${QDX_WIN_SOURCES})
target_link_libraries(qdx_app PUBLIC qdx_core ${QDX_WIN_LIBS})

set(QDX_RC ${CMAKE_SOURCE_DIR}/res/qdx.rc)
set_source_files_properties(${QDX_RC} PROPERTIES OBJECT_DEPENDS
                                                 ${CMAKE_BINARY_DIR}/res/qdx.manifest)

add_executable(QDX WIN32 ${CMAKE_SOURCE_DIR}/app/main.cpp ${QDX_RC})
target_link_libraries(QDX PRIVATE qdx_app)
set_target_properties(QDX PROPERTIES OUTPUT_NAME QDX RUNTIME_OUTPUT_DIRECTORY ${QDX_BIN_DIR})

# The help file beside the program, which its Help command opens.
file(GLOB help_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*.*
     ${CMAKE_SOURCE_DIR}/help/images/*)
add_custom_command(OUTPUT ${QDX_BIN_DIR}/QDX.chm
                   COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-help.sh ${QDX_BIN_DIR}/QDX.chm
                   DEPENDS ${help_sources} ${CMAKE_SOURCE_DIR}/scripts/build-help.sh
                   COMMENT "Compiling QDX.chm")
add_custom_target(help_file ALL DEPENDS ${QDX_BIN_DIR}/QDX.chm)

file(GLOB tool_dirs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*/CMakeLists.txt)
foreach(t ${tool_dirs})
  get_filename_component(d ${t} DIRECTORY)
  add_subdirectory(${d})
endforeach()

# Where Wine cannot run this build's programs (a 32-bit build on a machine without 32-bit
# support), its tests are still built, but not listed: CTest would run each to list its tests.
option(QDX_WINE_RUNS_TESTS "Wine on this machine runs this build's test programs" ON)

if(QDX_TESTS)
  set(win_test_props DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
  function(qdx_list_wine_tests)
    if(QDX_WINE_RUNS_TESTS)
      gtest_discover_tests(${ARGN})
    endif()
  endfunction()
  if(QDX_CORE_TESTS)
    add_executable(qdx_core_tests ${QDX_CORE_TESTS})
    target_link_libraries(qdx_core_tests PRIVATE qdx_core gtest_main)
    # The committed expected files of the layout tests lie in the source tree.
    target_compile_definitions(qdx_core_tests PRIVATE QDX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    qdx_list_wine_tests(qdx_core_tests ${win_test_props} TEST_PREFIX "wine:" PROPERTIES LABELS core)
  endif()
  if(QDX_WIN_TESTS)
    # The resources are linked in, so menus, dialogs and strings load from the test itself.
    file(GLOB win_test_support CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
    add_executable(qdx_win32_tests ${QDX_WIN_TESTS} ${win_test_support} ${QDX_RC})
    target_link_libraries(qdx_win32_tests PRIVATE qdx_app gtest imm32)
    target_include_directories(qdx_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    # A program that records how it was started, beside the test binary, for launch tests.
    add_executable(record_launch WIN32 ${CMAKE_SOURCE_DIR}/tests/helpers/record_launch.cpp)
    add_dependencies(qdx_win32_tests record_launch)
    # A program whose window holds the activation while auto-hide shows the launcher.
    add_executable(hold_activation WIN32 ${CMAKE_SOURCE_DIR}/tests/helpers/hold_activation.cpp)
    add_dependencies(qdx_win32_tests hold_activation)
    qdx_list_wine_tests(qdx_win32_tests ${win_test_props} PROPERTIES LABELS win32)
    # The tests whose behaviour depends on the version code run once more as Windows XP
    # (code 9): the test prefix gives that version to a program of this name. The copy is made
    # at each link.
    set(xp_tests_exe ${CMAKE_CURRENT_BINARY_DIR}/qdx_win32_xp_tests.exe)
    add_custom_command(TARGET qdx_win32_tests POST_BUILD
                       COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:qdx_win32_tests> ${xp_tests_exe})
    add_executable(qdx_win32_xp_tests IMPORTED)
    set_target_properties(qdx_win32_xp_tests PROPERTIES IMPORTED_LOCATION ${xp_tests_exe}
                          CROSSCOMPILING_EMULATOR "${CMAKE_CROSSCOMPILING_EMULATOR}")
    string(JOIN ":" xp_filter
           "OsVersionCode.*"
           "MainWindowTest.WindowHasTheClassAndFrameOfTheLauncher"
           "PaintingTest.PlainBackgroundAndTheDesktopRefreshTimer"
           "PaintingTest.DesktopBackgroundNeverLeavesThePreviousPaintBehind"
           "SettingsContentsWin.NoSettingsFileGivesDefaultsAndTheDefaultCommands"
           "SettingsContentsWin.OptionsAreAppliedByTheirRules"
           "SettingsContentsWin.AlphaBelowTwentyIsKeptButNotApplied"
           "HelpTipsTest.EachDialogRegistersItsListedTipsAndDropsThemOnClose"
           "OptionDialogTest.TransparencyMovesLiveCancelRestoresSaveKeeps"
           "ColourDialogTest.TheDesktopPictureFollowsTheVersionClass"
           "IconDrawDialogTest.EachRadioSavesItsModeTheCloseBoxNothing")
    qdx_list_wine_tests(qdx_win32_xp_tests ${win_test_props} TEST_PREFIX "xp:"
                        TEST_FILTER ${xp_filter} PROPERTIES LABELS win32)
  endif()
  if(QDX_E2E_TESTS)
    add_executable(qdx_e2e_tests ${QDX_E2E_TESTS} ${CMAKE_SOURCE_DIR}/tests/e2e/process.cpp)
    target_link_libraries(qdx_e2e_tests PRIVATE qdx_core gtest_main ${QDX_WIN_LIBS} version)
    target_include_directories(qdx_e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_compile_definitions(qdx_e2e_tests PRIVATE QDX_EXE_UNIX_PATH="${QDX_BIN_DIR}/QDX.exe")
    add_dependencies(qdx_e2e_tests QDX)
    # Loaded into the running program by the drop test, to drop files from inside it.
    add_library(drop_files SHARED ${CMAKE_SOURCE_DIR}/tests/helpers/drop_files.cpp)
    set_target_properties(drop_files PROPERTIES PREFIX "")
    target_link_libraries(drop_files PRIVATE user32 kernel32)
    add_dependencies(qdx_e2e_tests drop_files)
    # Each end-to-end test starts the real program, which allows one instance at a time.
    qdx_list_wine_tests(qdx_e2e_tests ${win_test_props} PROPERTIES RESOURCE_LOCK qdx_instance LABELS e2e)
  endif()
  # What a user downloads: the help file and the release archive, made from the 32-bit product.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_test(NAME release.HelpFileHoldsItsPagesAndNamesOnlyRealTexts
             COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/help/help_file_test.py
                     ${QDX_BIN_DIR}/QDX.chm ${CMAKE_SOURCE_DIR})
    add_test(NAME release.ArchiveIsTheSameEachTime
             COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/make_release_test.sh)
    set_tests_properties(release.HelpFileHoldsItsPagesAndNamesOnlyRealTexts
                         release.ArchiveIsTheSameEachTime PROPERTIES LABELS release)
  endif()
endif()
