# The FFmpeg the engine links, as the target tunelark_ffmpeg, and the engine's whitelists made
# from components.list into the generated header player/engine/ffmpeg_components.h.
#
# TUNELARK_FFMPEG=bundled (the default) builds FFmpeg from Debian's source with only the listed
# components, once per FFmpeg version and list, into a cache shared by every build tree.
# TUNELARK_FFMPEG=system links Debian's shared libraries, for packagers who must use them.

set(TUNELARK_FFMPEG "bundled" CACHE STRING
  "FFmpeg to link: bundled (a static build with only the listed components) or system")
set_property(CACHE TUNELARK_FFMPEG PROPERTY STRINGS bundled system)
if(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
  set(tunelark_default_cache "$ENV{XDG_CACHE_HOME}/tunelark")
else()
  set(tunelark_default_cache "$ENV{HOME}/.cache/tunelark")
endif()
set(TUNELARK_FFMPEG_CACHE "${tunelark_default_cache}" CACHE PATH
  "Where bundled FFmpeg builds are kept, shared by all build trees")

# Flags the bundled FFmpeg is compiled and linked with besides its own, for instance coverage and
# AddressSanitizer for the fuzz targets, so that the fuzzer sees inside the demuxers and decoders.
set(TUNELARK_FFMPEG_FLAGS "" CACHE STRING
  "Extra C flags (compile and link) for the bundled FFmpeg, e.g. sanitizers")

set(tunelark_ffmpeg_dir ${CMAKE_CURRENT_LIST_DIR})
set(tunelark_ffmpeg_list ${tunelark_ffmpeg_dir}/components.list)
set(tunelark_ffmpeg_script ${tunelark_ffmpeg_dir}/build-ffmpeg.sh)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${tunelark_ffmpeg_list} ${tunelark_ffmpeg_script} ${tunelark_ffmpeg_dir}/ffmpeg_components.h.in)

# Reads the list: one "kind name [local] [network] [whitelist-only]" a line, "#" comments.
file(STRINGS ${tunelark_ffmpeg_list} tunelark_ffmpeg_lines)
foreach(kind demuxer decoder parser protocol library)
  set(built_${kind} "")
endforeach()
set(local_demuxer "")
set(network_demuxer "")
set(local_protocol "")
set(network_protocol "")
foreach(line IN LISTS tunelark_ffmpeg_lines)
  string(REGEX REPLACE "#.*" "" line "${line}")
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    continue()
  endif()
  separate_arguments(fields UNIX_COMMAND "${line}")
  list(POP_FRONT fields kind name)
  set(uses ${fields})
  if(NOT kind MATCHES "^(demuxer|decoder|parser|protocol|library)$")
    message(FATAL_ERROR "${tunelark_ffmpeg_list}: unknown kind \"${kind}\" in \"${line}\"")
  endif()
  if(NOT "whitelist-only" IN_LIST uses)
    list(APPEND built_${kind} ${name})
  endif()
  if(kind MATCHES "^(demuxer|protocol)$")
    if(NOT uses MATCHES "local|network")
      message(FATAL_ERROR "${tunelark_ffmpeg_list}: \"${line}\" says neither local nor network")
    endif()
    foreach(where local network)
      if(where IN_LIST uses)
        list(APPEND ${where}_${kind} ${name})
      endif()
    endforeach()
  endif()
endforeach()

# The header the engine and its tests include: comma-separated, as FFmpeg's whitelists take them.
foreach(var built_demuxer built_decoder built_parser built_protocol local_demuxer network_demuxer
            local_protocol network_protocol)
  string(REPLACE ";" "," TUNELARK_${var} "${${var}}")
endforeach()

if(TUNELARK_FFMPEG STREQUAL "system")
  pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET
    libavformat libavcodec libswresample libavutil)
  add_library(tunelark_ffmpeg INTERFACE)
  target_link_libraries(tunelark_ffmpeg INTERFACE PkgConfig::FFMPEG)
  set(TUNELARK_FFMPEG_BUNDLED false)
elseif(TUNELARK_FFMPEG STREQUAL "bundled")
  set(options "")
  foreach(kind demuxer decoder parser protocol)
    if(built_${kind})
      string(REPLACE ";" "," names "${built_${kind}}")
      list(APPEND options --enable-${kind}=${names})
    endif()
  endforeach()
  foreach(library IN LISTS built_library)
    list(APPEND options --enable-${library})
  endforeach()
  if(NOT TUNELARK_FFMPEG_FLAGS STREQUAL "")
    list(APPEND options "--extra-cflags=${TUNELARK_FFMPEG_FLAGS}"
                        "--extra-ldflags=${TUNELARK_FFMPEG_FLAGS}")
  endif()
  # The cache folder is named for what decides the build's content: the list, the script, the
  # compiler and the flags, so an instrumented build never stands in for a plain one.
  file(READ ${tunelark_ffmpeg_list} list_text)
  file(READ ${tunelark_ffmpeg_script} script_text)
  string(SHA256 key "${list_text}${script_text}${CMAKE_C_COMPILER}\n${CMAKE_C_COMPILER_ID}\n\
${CMAKE_C_COMPILER_VERSION}\n${TUNELARK_FFMPEG_FLAGS}")
  string(SUBSTRING ${key} 0 12 key)
  # The script's messages pass straight through, so a first build says what it is doing.
  execute_process(
    COMMAND ${tunelark_ffmpeg_script} ${TUNELARK_FFMPEG_CACHE} ${key} ${CMAKE_C_COMPILER}
            ${options}
    OUTPUT_VARIABLE prefix
    RESULT_VARIABLE failed
    OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(failed)
    message(FATAL_ERROR "The bundled FFmpeg could not be built from Debian's source (see "
      "above). To link Debian's shared FFmpeg libraries instead, configure with "
      "-DTUNELARK_FFMPEG=system.")
  endif()
  string(REGEX REPLACE ".*\n" "" prefix "${prefix}")
  message(STATUS "Bundled FFmpeg: ${prefix}")
  # FFmpeg's https and tls reach GnuTLS through gnutls_on_demand.c, which loads it on the
  # first TLS connection; only its headers are needed here.
  pkg_check_modules(GNUTLS REQUIRED gnutls)
  add_library(tunelark_gnutls_on_demand STATIC ${tunelark_ffmpeg_dir}/gnutls_on_demand.c)
  target_include_directories(tunelark_gnutls_on_demand PRIVATE ${GNUTLS_INCLUDE_DIRS})
  target_link_libraries(tunelark_gnutls_on_demand PRIVATE ${CMAKE_DL_LIBS} Threads::Threads)
  add_library(tunelark_ffmpeg INTERFACE)
  target_include_directories(tunelark_ffmpeg SYSTEM INTERFACE ${prefix}/include)
  # In dependency order for the static linker, GnuTLS's stand-ins after FFmpeg that calls them.
  # These are all of FFmpeg's outside needs, since it is configured with nothing detected.
  target_link_libraries(tunelark_ffmpeg INTERFACE
    ${prefix}/lib/libavformat.a ${prefix}/lib/libavcodec.a ${prefix}/lib/libswresample.a
    ${prefix}/lib/libavutil.a tunelark_gnutls_on_demand ${CMAKE_DL_LIBS} Threads::Threads m)
  set(TUNELARK_FFMPEG_BUNDLED true)
else()
  message(FATAL_ERROR "TUNELARK_FFMPEG is \"${TUNELARK_FFMPEG}\"; it must be bundled or system")
endif()

set(TUNELARK_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${tunelark_ffmpeg_dir}/ffmpeg_components.h.in
  ${TUNELARK_GENERATED_DIR}/player/engine/ffmpeg_components.h @ONLY)
