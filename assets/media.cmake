# The game's media, made at build time by mediagen from the sources in this directory:
# pictures (art/*.art), sounds (sounds/*.snd) and fonts (fonts/glyphs.txt), all in one palette.
# They are staged out of the program's way (a loose Media/ beside the program would override the
# archive) and packed into build/Media.sbx, which the game reads; "smalfont.bmp" also lies beside
# the program, where the start-up line looks for it.
set(MEDIA_STAGING_DIR ${CMAKE_BINARY_DIR}/assets/staged-media CACHE PATH "Where the generated media files are staged before packing")
set(MEDIA_PALETTE ${CMAKE_CURRENT_SOURCE_DIR}/palette.txt)
file(MAKE_DIRECTORY ${MEDIA_STAGING_DIR})

file(GLOB media_art_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/art/*.art)
file(GLOB media_art_parts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/art/parts/*.tiles)
file(GLOB media_sound_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/sounds/*.snd)

set(media_pictures "")
foreach(source ${media_art_sources})
  get_filename_component(name ${source} NAME_WE)
  set(output ${MEDIA_STAGING_DIR}/${name}.png)
  add_custom_command(OUTPUT ${output}
    COMMAND mediagen art ${MEDIA_PALETTE} ${source} ${output}
    DEPENDS mediagen ${source} ${media_art_parts} ${MEDIA_PALETTE}
    COMMENT "Drawing ${name}.png" VERBATIM)
  list(APPEND media_pictures ${output})
endforeach()

set(media_sounds "")
foreach(source ${media_sound_sources})
  get_filename_component(name ${source} NAME_WE)
  set(output ${MEDIA_STAGING_DIR}/${name}.wav)
  add_custom_command(OUTPUT ${output}
    COMMAND mediagen sound ${source} ${output}
    DEPENDS mediagen ${source}
    COMMENT "Synthesising ${name}.wav" VERBATIM)
  list(APPEND media_sounds ${output})
endforeach()

set(media_font ${MEDIA_STAGING_DIR}/zFont.png)
set(media_small_font ${MEDIA_STAGING_DIR}/smalfont.bmp)
add_custom_command(OUTPUT ${media_font} ${media_small_font} ${CMAKE_BINARY_DIR}/smalfont.bmp
  COMMAND mediagen font ${MEDIA_PALETTE} ${CMAKE_CURRENT_SOURCE_DIR}/fonts/glyphs.txt ${media_font} ${media_small_font}
  COMMAND ${CMAKE_COMMAND} -E copy ${media_small_font} ${CMAKE_BINARY_DIR}/smalfont.bmp
  DEPENDS mediagen ${CMAKE_CURRENT_SOURCE_DIR}/fonts/glyphs.txt ${MEDIA_PALETTE}
  COMMENT "Drawing the fonts" VERBATIM)

set(MEDIA_FILES ${media_pictures} ${media_sounds} ${media_font} ${media_small_font})
set(media_outputs ${MEDIA_FILES} ${CMAKE_BINARY_DIR}/smalfont.bmp)

# The archive stores plain file names: it is packed from inside the staging directory.
if(TARGET sbx)
  set(media_names "")
  foreach(file ${MEDIA_FILES})
    get_filename_component(name ${file} NAME)
    list(APPEND media_names ${name})
  endforeach()
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Media.sbx
    COMMAND sbx pack ${CMAKE_BINARY_DIR}/Media.sbx ${media_names}
    DEPENDS sbx ${MEDIA_FILES}
    WORKING_DIRECTORY ${MEDIA_STAGING_DIR}
    COMMENT "Packing Media.sbx" VERBATIM)
  list(APPEND media_outputs ${CMAKE_BINARY_DIR}/Media.sbx)
endif()
add_custom_target(media ALL DEPENDS ${media_outputs})

# Review sheets: every strip frame by frame at twice its size, under its file name (built with
# everything), and screenshots of the menu and of a cave from the running game (`make review`).
set(review_dir ${CMAKE_BINARY_DIR}/review)
file(MAKE_DIRECTORY ${review_dir})
# In the order of the game's sprite slots, then the menu picture and the font.
set(review_names Sprites AstroR AstroL AstroU AstroD ErdStrip Circle Dynamite PushR PushL Exit Lava StoneR StoneL
  Blink Quish Explos BugR BugL BugU BugD BugStripR BugStripL WaxStrip YamYam Saphir Elec Menu)
set(review_pictures "")
foreach(name ${review_names})
  list(APPEND review_pictures ${MEDIA_STAGING_DIR}/${name}.png)
endforeach()
add_custom_command(OUTPUT ${review_dir}/strips.png
  COMMAND mediagen sheet ${review_dir}/strips.png ${review_pictures} ${media_font}
  DEPENDS mediagen ${media_pictures} ${media_font}
  COMMENT "Making the review sheet" VERBATIM)
add_custom_target(review_sheets ALL DEPENDS ${review_dir}/strips.png media)

# Headless runs draw offscreen and never touch the player's files.
set(headless_game ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy $<TARGET_FILE:tumbrel> --headless)
add_custom_target(review
  COMMAND ${headless_game} --frames 20 --screenshot 16:${review_dir}/menu.png
  COMMAND ${headless_game} --level 3 --seed 1 --frames 240 --screenshot 230:${review_dir}/cave.png
  DEPENDS tumbrel review_sheets levels player_data
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Screenshots of the menu and a cave into build/review/"
  VERBATIM)
