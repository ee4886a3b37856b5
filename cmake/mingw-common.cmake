# What the two Windows cross builds share: Debian's mingw-w64 for CITARA_MINGW_TRIPLET, with the
# posix thread model (GoogleTest needs std::mutex, which the win32 model lacks).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${CITARA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CITARA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${CITARA_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${CITARA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
