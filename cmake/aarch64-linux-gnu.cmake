# Cross-builds for arm64 Debian with Debian's aarch64-linux-gnu compilers
# against a sysroot of the target's packages (scripts/check-arm64 makes one):
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake \
#         -DRADIOSHOW_SYSROOT=/path/to/sysroot
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(RADIOSHOW_SYSROOT "" CACHE PATH "root of an arm64 Debian tree holding the build's -dev packages")
if(NOT IS_DIRECTORY "${RADIOSHOW_SYSROOT}/usr/lib/aarch64-linux-gnu")
  message(FATAL_ERROR "RADIOSHOW_SYSROOT (\"${RADIOSHOW_SYSROOT}\") holds no arm64 Debian tree")
endif()
# The compiler checks run in projects of their own, which see only these variables.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES RADIOSHOW_SYSROOT)

set(CMAKE_SYSROOT "${RADIOSHOW_SYSROOT}")
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tools built here and run during the build (the icon maker) run under qemu-user.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static -L "${RADIOSHOW_SYSROOT}")

set(ENV{PKG_CONFIG_SYSROOT_DIR} "${RADIOSHOW_SYSROOT}")
set(ENV{PKG_CONFIG_LIBDIR} "${RADIOSHOW_SYSROOT}/usr/lib/aarch64-linux-gnu/pkgconfig:${RADIOSHOW_SYSROOT}/usr/share/pkgconfig")

# Qt's code generators run on this machine: the host's own, of the same Qt
# version as the sysroot's. Qt's CMake packages take these targets as they find them.
foreach(tool moc rcc uic qmake)
  if(NOT TARGET Qt5::${tool})
    add_executable(Qt5::${tool} IMPORTED)
    set_target_properties(Qt5::${tool} PROPERTIES IMPORTED_LOCATION /usr/lib/qt5/bin/${tool})
  endif()
endforeach()

# The Debian package is for arm64 (dpkg --print-architecture would say amd64),
# and dpkg-shlibdeps finds the libraries it links against in the sysroot.
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  "${RADIOSHOW_SYSROOT}/usr/lib/aarch64-linux-gnu" "${RADIOSHOW_SYSROOT}/lib/aarch64-linux-gnu")
