# Cross build: the Windows program, its Windows-side tests and the stand-in programs.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0501)

# Real adapters and window code; WinMain lives apart so tests can link the rest.
file(GLOB_RECURSE WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER WIN32_SOURCES INCLUDE REGEX "/win32/")
list(FILTER WIN32_SOURCES EXCLUDE REGEX "/winmain\\.cpp$|/platform/win32/disk_sync\\.cpp$|/src/sbm/")
# The core's own link-time platform pick.
target_sources(vostrel_core PRIVATE ${CMAKE_SOURCE_DIR}/src/platform/win32/disk_sync.cpp)
add_library(vostrel_win32 STATIC ${WIN32_SOURCES})
target_link_libraries(vostrel_win32 PUBLIC vostrel_core comctl32 shell32 version gdi32 comdlg32 winspool user32)

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
  target_link_libraries(${name} PRIVATE comctl32 user32 gdi32)
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
  add_test(NAME win32_tests COMMAND win32_tests)
endif()

# Whole-program scenarios: a Windows test program that starts Vostrel5.EXE and the stand-ins.
file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/e2e/*.cpp)
if(E2E_SOURCES)
  add_executable(e2e_tests ${E2E_SOURCES})
  target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/e2e ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(e2e_tests PRIVATE vostrel_core gtest gmock gtest_main user32 shell32 comctl32)
  add_dependencies(e2e_tests Vostrel5 SBM)
  if(STANDIN_SOURCES)
    foreach(src ${STANDIN_SOURCES})
      get_filename_component(name ${src} NAME_WE)
      add_dependencies(e2e_tests ${name})
    endforeach()
  endif()
  add_test(NAME e2e_tests COMMAND e2e_tests)
endif()
