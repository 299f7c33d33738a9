# The `windows` preset's toolchain. On a Windows host it adds nothing: the
# compiler on the PATH (Qt's MinGW kit) builds natively and CMAKE_PREFIX_PATH
# names the kit's Qt. On a Linux host it cross-builds with the SDK that
# scripts/windows-sdk.sh unpacks into build/windows-sdk (or KORVADEX_WINDOWS_SDK),
# with Debian's own Qt tools (moc, rcc, uic) as the host tools.
if(CMAKE_HOST_WIN32)
  return()
endif()

if(DEFINED ENV{KORVADEX_WINDOWS_SDK})
  set(korvadex_windows_sdk "$ENV{KORVADEX_WINDOWS_SDK}")
else()
  get_filename_component(korvadex_windows_sdk "${CMAKE_CURRENT_LIST_DIR}/../build/windows-sdk" ABSOLUTE)
endif()
set(korvadex_sdk_toolchain "${korvadex_windows_sdk}/prefix/share/mingw-w64-toolchain.cmake")
if(NOT EXISTS "${korvadex_sdk_toolchain}")
  message(FATAL_ERROR "No Windows SDK at ${korvadex_windows_sdk}: run scripts/windows-sdk.sh first")
endif()
include("${korvadex_sdk_toolchain}")

set(QT_HOST_PATH /usr CACHE PATH "Where the host's Qt tools live")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "The host Qt's CMake packages")

# Debian's `wine64` is the bare loader, which skips the wrapper's set-up; the
# command is `wine`.
find_program(korvadex_wine NAMES wine NO_CMAKE_FIND_ROOT_PATH)
if(korvadex_wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${korvadex_wine}")
endif()
