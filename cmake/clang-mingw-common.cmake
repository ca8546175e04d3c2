# Shared part of the clang toolchain files for the Windows targets (the second compiler that
# keeps the sources honest): clang compiles against mingw-w64's headers and GCC's libstdc++,
# and GCC's own driver links. Clang cannot link on its own here: it finds GCC's runtime folder
# by a version number, and Debian names it "12-posix"; without GCC's crtbegin.o, which
# registers the DWARF unwind tables of 32-bit code, every C++ exception ends the program.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
# The archiver of the same binutils as the linker (llvm-ar comes with clang only as a
# recommendation).
find_program(CMAKE_AR ${TOOLCHAIN_PREFIX}-ar REQUIRED)
find_program(CMAKE_RANLIB ${TOOLCHAIN_PREFIX}-ranlib REQUIRED)

# The same libstdc++ (POSIX thread model) that the GCC build links.
set(TESSARINE_GXX ${TOOLCHAIN_PREFIX}-g++-posix)
execute_process(COMMAND ${TESSARINE_GXX} -print-libgcc-file-name
                OUTPUT_VARIABLE _libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(_gcc_dir "${_libgcc}" DIRECTORY)
set(CMAKE_CXX_FLAGS_INIT "-stdlib++-isystem ${_gcc_dir}/include/c++ \
-stdlib++-isystem ${_gcc_dir}/include/c++/${TOOLCHAIN_PREFIX} \
-stdlib++-isystem ${_gcc_dir}/include/c++/backward")
set(CMAKE_USER_MAKE_RULES_OVERRIDE_CXX ${CMAKE_CURRENT_LIST_DIR}/clang-mingw-link.cmake)
