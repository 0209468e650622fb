# Windows build (mingw-w64): the Win32 backend, the program, and the tests run under Wine.
file(GLOB QUENLAR_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
list(FILTER QUENLAR_WIN32_SOURCES EXCLUDE REGEX ".*/winmain\\.cpp$")
add_library(quenlar_win32 STATIC ${QUENLAR_WIN32_SOURCES})
target_link_libraries(quenlar_win32 PUBLIC quenlar_platform)
target_link_libraries(quenlar_win32 PUBLIC advapi32 user32 gdi32 kernel32 shell32 comctl32 comdlg32 ole32 uuid)

add_link_options(-static)

enable_language(RC)
set(QUENLAR_RESOURCES platform/win32/quenlar.rc)
configure_file(platform/win32/quenlar.manifest.in generated/quenlar.manifest @ONLY)
set_source_files_properties(${QUENLAR_RESOURCES} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/platform/win32/quenlar.ico;${CMAKE_BINARY_DIR}/generated/quenlar.manifest;${CMAKE_BINARY_DIR}/generated/version.h;${CMAKE_SOURCE_DIR}/platform/win32/resource.h")
add_executable(quenlar WIN32 platform/win32/winmain.cpp ${QUENLAR_RESOURCES})
target_link_libraries(quenlar PRIVATE quenlar_app quenlar_win32)
target_link_options(quenlar PRIVATE -Wl,--dynamicbase -Wl,--nxcompat -Wl,--high-entropy-va)

# The Wine session fixture that every test run under Wine requires.
include(cmake/wine-tests.cmake)

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/win32/CMakeLists.txt)
  add_subdirectory(tests/win32)
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/standin/CMakeLists.txt)
  add_subdirectory(standin)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/e2e/CMakeLists.txt)
  add_subdirectory(e2e)
endif()

# The release packages (`--target package`), both named with the version: a zip holding
# quenlar.exe, the players' README and the licence at its top, and a per-user installer
# of the same files (packaging/NSIS.template.in). SHA256SUMS beside them lists both.
install(TARGETS quenlar RUNTIME DESTINATION .)
configure_file(packaging/README.txt README.txt @ONLY)  # it names the packages
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Quenlar)
set(CPACK_PACKAGE_VENDOR "the Quenlar developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME quenlar-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/packaging/cpack-generators.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/packaging/sha256sums.cmake)
# The installer: the template in packaging/ replaces CPack's own.
set(CPACK_MODULE_PATH ${CMAKE_SOURCE_DIR}/packaging)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quenlar)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Quenlar)
set(CPACK_NSIS_INSTALLED_ICON_NAME quenlar.exe)
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/platform/win32/quenlar.ico)
# The switch by which the uninstaller has the program remove its settings
# (IsUninstallSettingsCommand in ui/installation.cpp).
set(CPACK_QUENLAR_UNINSTALL_SWITCH /uninstall-settings)
include(CPack)

# The cost of a utility password prompt's check under Wine (bench/prompt-under-wine.sh).
add_executable(prompt_wine_bench bench/prompt_wine_bench.cpp)
target_link_libraries(prompt_wine_bench PRIVATE quenlar_app quenlar_win32)
target_link_options(prompt_wine_bench PRIVATE -static)
