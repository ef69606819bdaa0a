# Cross-compiling for 64-bit Windows with Debian's mingw-w64: the posix thread
# model (std::thread and std::mutex, which the win32 model lacks), static
# runtime, and the libraries that scripts/build-windows-deps.sh cross-builds
# into $LUMBREL_WINDOWS_DEPS (default /opt/lumbrel-windows-deps-2; the number
# is the libraries' recipe version, kept in step with that script).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LUMBREL_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${LUMBREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMBREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMBREL_MINGW_TRIPLE}-windres)

if(DEFINED ENV{LUMBREL_WINDOWS_DEPS} AND NOT "$ENV{LUMBREL_WINDOWS_DEPS}" STREQUAL "")
  set(LUMBREL_WINDOWS_DEPS "$ENV{LUMBREL_WINDOWS_DEPS}")
else()
  set(LUMBREL_WINDOWS_DEPS /opt/lumbrel-windows-deps-2)
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${LUMBREL_MINGW_TRIPLE} ${LUMBREL_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees the cross-built libraries and mingw-w64 packages (zlib) alone, never the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} "${LUMBREL_WINDOWS_DEPS}/lib/pkgconfig:${LUMBREL_WINDOWS_DEPS}/share/pkgconfig:/usr/${LUMBREL_MINGW_TRIPLE}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# One self-contained program or DLL per target: no libstdc++, libgcc or
# winpthread DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
