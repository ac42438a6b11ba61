# zlib, libpng and LZO for the browser, compiled from the unpacked sources in TUMBREL_WEB_DEPS
# (scripts/web.sh fetches them) under the names the native build finds them by.
set(TUMBREL_WEB_DEPS "" CACHE PATH "Unpacked sources of zlib, libpng and lzo (see scripts/web.sh)")
foreach(library zlib libpng lzo)
  if(NOT EXISTS ${TUMBREL_WEB_DEPS}/${library})
    message(FATAL_ERROR "No ${library} sources in TUMBREL_WEB_DEPS=\"${TUMBREL_WEB_DEPS}\"; build with scripts/web.sh")
  endif()
endforeach()

# Other people's code: built as it comes, without our warnings.
function(web_library name directory)
  list(TRANSFORM ARGN PREPEND ${directory}/)
  add_library(${name} STATIC ${ARGN})
  target_compile_options(${name} PRIVATE -w)
endfunction()

set(zlib_dir ${TUMBREL_WEB_DEPS}/zlib)
web_library(web_zlib ${zlib_dir} adler32.c compress.c crc32.c deflate.c infback.c inffast.c inflate.c
  inftrees.c trees.c uncompr.c zutil.c)
target_include_directories(web_zlib PUBLIC ${zlib_dir})
add_library(ZLIB::ZLIB ALIAS web_zlib)

# libpng's configuration header comes ready-made with its sources.
set(png_dir ${TUMBREL_WEB_DEPS}/libpng)
set(png_config ${CMAKE_BINARY_DIR}/web-libs/pnglibconf.h)
configure_file(${png_dir}/scripts/pnglibconf.h.prebuilt ${png_config} COPYONLY)
web_library(web_png ${png_dir} png.c pngerror.c pngget.c pngmem.c pngpread.c pngread.c pngrio.c
  pngrtran.c pngrutil.c pngset.c pngtrans.c pngwio.c pngwrite.c pngwtran.c pngwutil.c)
target_include_directories(web_png PUBLIC ${png_dir} ${CMAKE_BINARY_DIR}/web-libs)
target_link_libraries(web_png PUBLIC web_zlib)
add_library(PNG::PNG ALIAS web_png)

# Only what reading the media archive needs: LZO1X decompression.
set(lzo_dir ${TUMBREL_WEB_DEPS}/lzo)
web_library(lzo2 ${lzo_dir}/src lzo_init.c lzo_ptr.c lzo_util.c lzo1x_d1.c lzo1x_d2.c)
target_include_directories(lzo2 PUBLIC ${lzo_dir}/include ${lzo_dir})
