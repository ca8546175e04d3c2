# Read after CMake's own rules for the clang toolchain files: executables are linked by GCC's
# driver (see clang-mingw-common.cmake), which takes the link flags but not clang's own.
string(REPLACE "<CMAKE_CXX_COMPILER> <FLAGS>" "${TESSARINE_GXX}"
       CMAKE_CXX_LINK_EXECUTABLE "${CMAKE_CXX_LINK_EXECUTABLE}")
# The same for the installer's DLL; the compile flags, clang's target among them, stay out.
string(REPLACE "<CMAKE_CXX_COMPILER>" "${TESSARINE_GXX}"
       CMAKE_CXX_CREATE_SHARED_LIBRARY "${CMAKE_CXX_CREATE_SHARED_LIBRARY}")
string(REPLACE " <LANGUAGE_COMPILE_FLAGS>" ""
       CMAKE_CXX_CREATE_SHARED_LIBRARY "${CMAKE_CXX_CREATE_SHARED_LIBRARY}")
