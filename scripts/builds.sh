# Sourced by the scripts: the build folders and how each is configured, so
# the demo and the tests share one set of builds.
native=build/native
win32=build/win32
fuzz=build/fuzz
api_port=18080
jobs=$(nproc)

configure_native() {
  cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Debug -DQUORIX_SANITIZE=ON >/dev/null
}

configure_win32() {
  cmake -S . -B "$win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
    -DQUORIX_API_HOST=127.0.0.1 -DQUORIX_API_PORT="$api_port" \
    -DQUORIX_STAND_IN_API="$PWD/$native/tools/stand_in_api/stand_in_api" >/dev/null
}

configure_fuzz() {
  CC=clang CXX=clang++ cmake -S . -B "$fuzz" -DQUORIX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
}
