# Shared by both MinGW-w64 toolchain files; PIVRO_TRIPLE names the target.
set(CMAKE_C_COMPILER ${PIVRO_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PIVRO_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PIVRO_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PIVRO_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Every program runs under Wine; tests go through scripts/wine-run.sh instead,
# which also picks the project's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
