# Sourced by scripts/build and scripts/package: the one set of compiler
# flags both configure with, so that what the tests run is what the package
# ships, and ccache (when installed) hands the package build the objects the
# test build made. Sets markwise_cmake_flags.
#   root   the checkout, set by the caller
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
markwise_cmake_flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if command -v dpkg-buildflags >/dev/null; then
  # Debian's own flags with every hardening option.
  markwise_cmake_flags+=(
    -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)"
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)")
fi
if command -v ccache >/dev/null; then
  markwise_cmake_flags+=(-DCMAKE_C_COMPILER_LAUNCHER="$root/scripts/ccache_launcher"
                         -DCMAKE_CXX_COMPILER_LAUNCHER="$root/scripts/ccache_launcher")
fi
