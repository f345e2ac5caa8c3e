# Third-party libraries, found once for the whole project.
find_package(Threads REQUIRED)
find_package(SDL2 CONFIG QUIET)
find_package(PNG QUIET)
find_package(JPEG QUIET)
find_package(ZLIB QUIET)
find_package(OpenGL QUIET COMPONENTS OpenGL EGL)
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(LIBAV IMPORTED_TARGET QUIET libavformat libavcodec libavutil libswscale libswresample)
endif()

# MojoShader ships a static library and a header, no CMake or pkg-config file.
find_path(MOJOSHADER_INCLUDE_DIR mojoshader.h PATH_SUFFIXES mojoshader)
find_library(MOJOSHADER_LIBRARY NAMES mojoshader)
if(MOJOSHADER_INCLUDE_DIR AND MOJOSHADER_LIBRARY AND NOT TARGET MojoShader::MojoShader)
  add_library(MojoShader::MojoShader UNKNOWN IMPORTED)
  set_target_properties(MojoShader::MojoShader PROPERTIES IMPORTED_LOCATION ${MOJOSHADER_LIBRARY}
                        INTERFACE_INCLUDE_DIRECTORIES ${MOJOSHADER_INCLUDE_DIR})
endif()
