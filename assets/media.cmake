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
# everything), and screenshots from the running game (`make review`): the menu, the name entry,
# a full high-score table, a cave, and a contact sheet of every level.
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
set(headless_env ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy)
set(headless_game ${headless_env} $<TARGET_FILE:tumbrel> --headless)
set(review_media ${CMAKE_BINARY_DIR}/smalfont.bmp)
if(TARGET sbx)
  list(APPEND review_media ${CMAKE_BINARY_DIR}/Media.sbx)
endif()

# The contact sheet of the levels: frame 16 of every shipped level, 5 to a row, by number.
# Old shots are removed first: a run that cannot save its screenshot still ends with status 0.
set(review_level_shots "")
file(MAKE_DIRECTORY ${review_dir}/levels)
foreach(source ${level_sources})
  get_filename_component(stem ${source} NAME_WE)
  string(REGEX REPLACE "^level0*" "" number ${stem})
  set(shot ${review_dir}/levels/${number}.png)
  add_custom_command(OUTPUT ${shot}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${shot}
    COMMAND ${headless_game} --level ${number} --frames 17 --screenshot 16:${shot}
    DEPENDS tumbrel player_data ${CMAKE_BINARY_DIR}/Maps/Map${number}-1.bin ${review_media}
    COMMENT "Screenshot of level ${number}" VERBATIM)
  list(APPEND review_level_shots ${shot})
endforeach()
add_custom_command(OUTPUT ${review_dir}/levels.png
  COMMAND mediagen contact --columns 5 --shrink 2 ${review_dir}/levels.png ${review_level_shots}
  DEPENDS mediagen ${review_level_shots}
  COMMENT "Making the contact sheet of the levels" VERBATIM)

# The menu, the name entry and a full high-score table, shot in a private copy of the game (the
# program reads ./Maps beside itself) holding a new player's files with a filled table for level 1.
# The replays under review/ move the cursor and type; names and scores are of every width.
set(review_run ${review_dir}/run)
set(review_screens ${review_dir}/menu.png ${review_dir}/name-entry.png ${review_dir}/highscores.png)
set(review_game ${headless_env} ${review_run}/tumbrel --headless)
add_custom_command(OUTPUT ${review_screens}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${review_run} ${review_screens}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${review_run}/Maps
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tumbrel> ${review_media} ${review_run}
  COMMAND ${CMAKE_COMMAND} -E copy ${level_files} ${review_run}/Maps
  COMMAND levelc init-data ${review_run}/Maps
  COMMAND levelc scores ${review_run}/Maps 1 johannes 48215 mia 10370 kasimir 9785 bo 4302 ottilie 1196 jo 409 friedric 90 al 7
  COMMAND ${review_game} --replay ${CMAKE_CURRENT_SOURCE_DIR}/review/menu.replay --screenshot 16:${review_dir}/menu.png
  COMMAND ${review_game} --replay ${CMAKE_CURRENT_SOURCE_DIR}/review/name-entry.replay --screenshot 38:${review_dir}/name-entry.png
  COMMAND ${review_game} --replay ${CMAKE_CURRENT_SOURCE_DIR}/review/highscores.replay --screenshot 30:${review_dir}/highscores.png
  DEPENDS tumbrel levelc ${level_files} ${review_media} ${CMAKE_CURRENT_SOURCE_DIR}/review/menu.replay
    ${CMAKE_CURRENT_SOURCE_DIR}/review/name-entry.replay ${CMAKE_CURRENT_SOURCE_DIR}/review/highscores.replay
  COMMENT "Screenshots of the menu, the name entry and the high-score table" VERBATIM)

add_custom_target(review
  COMMAND ${headless_game} --level 3 --seed 1 --frames 240 --screenshot 230:${review_dir}/cave.png
  DEPENDS tumbrel review_sheets levels player_data ${review_screens} ${review_dir}/levels.png
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Screenshots of the menu, the high scores, a cave and every level into build/review/"
  VERBATIM)
