# Cross build: the Windows program, its Windows-side tests and the stand-in programs.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0501)

# Real adapters and window code; WinMain lives apart so tests can link the rest.
file(GLOB_RECURSE WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER WIN32_SOURCES INCLUDE REGEX "/win32/")
list(FILTER WIN32_SOURCES EXCLUDE REGEX "/winmain\\.cpp$|/platform/win32/disk_sync\\.cpp$|/src/sbm/|/src/pgptray/|/platform/win32/toolkit/")
# The Win32 toolkit: handle owners, window classes, the clipboard and forms. Every program of the
# project (Vostrel5.EXE, SBM.EXE, the tray programs) and the test programs use it; it is the only
# code that calls those raw functions.
file(GLOB TOOLKIT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/win32/toolkit/*.cpp)
add_library(win32_toolkit STATIC ${TOOLKIT_SOURCES})
target_include_directories(win32_toolkit PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(win32_toolkit PUBLIC user32 gdi32 advapi32 comctl32 winspool)
# The core's own link-time platform pick.
target_sources(vostrel_core PRIVATE ${CMAKE_SOURCE_DIR}/src/platform/win32/disk_sync.cpp)
add_library(vostrel_win32 STATIC ${WIN32_SOURCES})
target_link_libraries(vostrel_win32 PUBLIC vostrel_core win32_toolkit comctl32 shell32 version gdi32 comdlg32 winspool user32)

add_executable(Vostrel5 WIN32 ${CMAKE_SOURCE_DIR}/src/shell/win32/winmain.cpp ${CMAKE_SOURCE_DIR}/resources/vostrel5.rc)
target_link_libraries(Vostrel5 PRIVATE vostrel_win32 psapi)
set_target_properties(Vostrel5 PROPERTIES OUTPUT_NAME "Vostrel5" SUFFIX ".EXE")

# The driver script engine: a GUI-subsystem program that shows no window of its own.
file(GLOB SBM_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/sbm/win32/*.cpp)
add_executable(SBM WIN32 ${SBM_WIN32_SOURCES})
target_link_libraries(SBM PRIVATE sbm_core vostrel_win32)
set_target_properties(SBM PROPERTIES OUTPUT_NAME "SBM" SUFFIX ".EXE")

# The driver package ships beside the program; the tests find it there.
file(GLOB PACKAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/package/*)
foreach(f ${PACKAGE_FILES})
  get_filename_component(name ${f} NAME)
  configure_file(${f} ${CMAKE_BINARY_DIR}/package/${name} COPYONLY)
endforeach()

# The help, compiled from its HTML sources beside the program (chmcmd writes into its working
# folder).
find_program(CHMCMD chmcmd REQUIRED)
file(GLOB HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Vostrel5.chm
  COMMAND ${CHMCMD} ${CMAKE_SOURCE_DIR}/help/Vostrel5.hhp
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DEPENDS ${HELP_SOURCES} VERBATIM)
add_custom_target(compiled_help ALL DEPENDS ${CMAKE_BINARY_DIR}/Vostrel5.chm)

# The GnuPG-backed tray programs: one skin library, three small programs that ship in one folder.
file(GLOB PGPTRAY_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/pgptray/win32/*.cpp)
list(FILTER PGPTRAY_WIN32_SOURCES EXCLUDE REGEX "_main\\.cpp$")
add_library(pgptray_win32 STATIC ${PGPTRAY_WIN32_SOURCES})
target_link_libraries(pgptray_win32 PUBLIC pgptray_core win32_toolkit user32 gdi32 shell32 comdlg32 advapi32)
foreach(program Tray Keys Tools)
  string(TOLOWER ${program} base)
  add_executable(PGP${program} WIN32 ${CMAKE_SOURCE_DIR}/src/pgptray/win32/${base}_main.cpp
                 ${CMAKE_SOURCE_DIR}/resources/pgptray.rc)
  target_link_libraries(PGP${program} PRIVATE pgptray_win32)
  set_target_properties(PGP${program} PROPERTIES SUFFIX ".Exe" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/pgptray)
endforeach()

# GoogleTest from Debian's source package, built with the cross compilers.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Stand-in programs used by the Windows-side and end-to-end tests.
file(GLOB STANDIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/e2e/stand-ins/*.cpp)
foreach(src ${STANDIN_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} WIN32 ${src})
  target_link_libraries(${name} PRIVATE win32_toolkit comctl32 user32 gdi32)
  # A stand-in with a resource script of the same name carries its resources.
  get_filename_component(dir ${src} DIRECTORY)
  if(EXISTS ${dir}/${name}.rc)
    target_sources(${name} PRIVATE ${dir}/${name}.rc)
  endif()
endforeach()

# The stand-ins' driver catalogue, beside them.
configure_file(${CMAKE_SOURCE_DIR}/e2e/stand-ins/SELECTG.DAT ${CMAKE_BINARY_DIR}/stand-ins/SELECTG.DAT COPYONLY)

# Adapter tests against the real Win32 functions.
file(GLOB_RECURSE WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
file(GLOB_RECURSE FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fakes/*.cpp)
if(WIN_TEST_SOURCES)
  add_executable(win32_tests ${WIN_TEST_SOURCES} ${FAKE_SOURCES})
  target_include_directories(win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(win32_tests PRIVATE vostrel_win32 gtest gmock gtest_main)
  if(TARGET standin_pgp)
    add_dependencies(win32_tests standin_pgp)
  endif()
  add_dependencies(win32_tests compiled_help)
  add_test(NAME win32_tests COMMAND win32_tests)
endif()

# Whole-program scenarios: a Windows test program that starts Vostrel5.EXE and the stand-ins.
file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/e2e/*.cpp)
if(E2E_SOURCES)
  add_executable(e2e_tests ${E2E_SOURCES})
  target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/e2e ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(e2e_tests PRIVATE vostrel_core win32_toolkit gtest gmock gtest_main user32 shell32 comctl32)
  add_dependencies(e2e_tests Vostrel5 SBM compiled_help)
  if(STANDIN_SOURCES)
    foreach(src ${STANDIN_SOURCES})
      get_filename_component(name ${src} NAME_WE)
      add_dependencies(e2e_tests ${name})
    endforeach()
  endif()
  # PrintJob.* needs a print server: the script starts one of its own around it.
  add_test(NAME e2e_tests COMMAND e2e_tests --gtest_filter=-PrintJob.*)
  add_test(NAME print_to_pdf COMMAND bash ${CMAKE_SOURCE_DIR}/e2e/print_to_pdf.sh ${CMAKE_BINARY_DIR})
endif()

# The tray programs under Wine with the real gpg.exe that scripts/setup builds once for this machine
# (the test finds it in its cache folder, or where V5_GNUPG_DIR says), alone and in whole runs of
# Vostrel5.EXE on a message in notepad.
file(GLOB PGPTRAY_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/e2e/pgptray/*.cpp)
if(PGPTRAY_E2E_SOURCES)
  add_executable(pgptray_e2e ${PGPTRAY_E2E_SOURCES} ${CMAKE_SOURCE_DIR}/e2e/e2e_support.cpp
                 ${CMAKE_SOURCE_DIR}/e2e/run_support.cpp)
  target_include_directories(pgptray_e2e PRIVATE ${CMAKE_SOURCE_DIR}/e2e ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(pgptray_e2e PRIVATE win32_toolkit gtest gtest_main user32 shell32 version)
  add_dependencies(pgptray_e2e PGPTray PGPKeys PGPTools Vostrel5 SBM stuck_gpg)
  add_test(NAME pgptray_e2e COMMAND pgptray_e2e)
endif()

# Timing of the tray programs against gpg.exe alone (scripts/bench-pgptray); not a test.
add_executable(pgptray_bench ${CMAKE_SOURCE_DIR}/bench/win32/pgptray_bench.cpp)
target_link_libraries(pgptray_bench PRIVATE pgptray_win32)
add_dependencies(pgptray_bench PGPTray)

# The setup program's scenarios, run by e2e/installer/run in a Wine prefix of their own against
# the setup program that installer/build-setup leaves in build/setup.
add_executable(installer_tests ${CMAKE_SOURCE_DIR}/e2e/installer/test_installer.cpp ${CMAKE_SOURCE_DIR}/e2e/e2e_support.cpp)
target_include_directories(installer_tests PRIVATE ${CMAKE_SOURCE_DIR}/e2e)
target_link_libraries(installer_tests PRIVATE win32_toolkit gtest gmock gtest_main user32 shell32 ole32 uuid advapi32)
add_test(NAME installer_tests
         COMMAND bash ${CMAKE_SOURCE_DIR}/e2e/installer/run $<TARGET_FILE:installer_tests> ${CMAKE_SOURCE_DIR}/build/setup)
set_tests_properties(installer_tests PROPERTIES SKIP_RETURN_CODE 77)
