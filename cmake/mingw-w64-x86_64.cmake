# Cross-compiling for 64-bit Windows with Debian's mingw-w64, POSIX thread
# model (Qt needs std::thread and friends).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KADRIX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KADRIX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KADRIX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KADRIX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KADRIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The Qt built for Windows (scripts/windows-qt), named by KADRIX_QT_PREFIX in
# the environment, is searched as a root of its own.
if(DEFINED ENV{KADRIX_QT_PREFIX})
  list(APPEND CMAKE_FIND_ROOT_PATH $ENV{KADRIX_QT_PREFIX})
  list(APPEND CMAKE_PREFIX_PATH $ENV{KADRIX_QT_PREFIX})
endif()
