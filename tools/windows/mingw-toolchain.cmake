# Cross toolchain for 64-bit Windows with Debian's mingw-w64, shared by the Qt build and by
# NMaker's. NMAKER_QT_PREFIX (cache variable or environment) names the Qt for mingw to use.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(NMAKER_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix threading flavour: the win32 one has no std::thread, which Qt needs.
set(CMAKE_C_COMPILER ${NMAKER_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NMAKER_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${NMAKER_MINGW_TRIPLE}-windres)

if(NOT NMAKER_QT_PREFIX AND DEFINED ENV{NMAKER_QT_PREFIX})
  set(NMAKER_QT_PREFIX "$ENV{NMAKER_QT_PREFIX}")
endif()
set(NMAKER_QT_PREFIX "${NMAKER_QT_PREFIX}" CACHE PATH "Qt for mingw")
# try_compile projects see the toolchain file but not the cache: hand the prefix on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES NMAKER_QT_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${NMAKER_MINGW_TRIPLE})
if(NMAKER_QT_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH "${NMAKER_QT_PREFIX}")
endif()
# Programs come from the host (moc, rcc via QT_HOST_PATH); everything linked from the target.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the test programs under Wine, through a wrapper that sets up the Wine prefix and
# hands QT_* variables on (Wine drops them from the Unix environment).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run")
