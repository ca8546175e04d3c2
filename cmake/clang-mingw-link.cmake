# Read after CMake's own rules for the clang toolchain files: executables are linked by GCC's
# driver (see clang-mingw-common.cmake), which takes the link flags but not clang's own.
string(REPLACE "<CMAKE_CXX_COMPILER> <FLAGS>" "${TESSARINE_GXX}"
       CMAKE_CXX_LINK_EXECUTABLE "${CMAKE_CXX_LINK_EXECUTABLE}")
