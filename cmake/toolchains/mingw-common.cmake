# Cross build with the posix-thread mingw-w64 compilers (the win32 thread model
# lacks std::mutex, which GoogleTest needs). Libraries Debian ships only for
# Linux come from the prefix that tools/setup fills.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${PIXMARL_MINGW_ARCH})
set(triple ${PIXMARL_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(PIXMARL_WIDL ${triple}-widl)

if(DEFINED ENV{PIXMARL_DEPS})
  set(deps $ENV{PIXMARL_DEPS})
else()
  set(deps $ENV{HOME}/.cache/pixmarlkit)
endif()
set(PIXMARL_MINGW_PREFIX ${deps}/mingw-${PIXMARL_MINGW_ARCH})

set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${PIXMARL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
# The mingw zlib package ships an import library too; the DLLs must not
# depend on zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
