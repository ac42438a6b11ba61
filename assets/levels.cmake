# Level files: assets/levels/levelNN.txt -> Maps/MapN-1.bin beside the program, compiled by levelc.
# The player's own data files (LevC.bin, Player.bin, Name.bin, Data.bin) are created once for a
# new player and never overwritten by a rebuild.
file(GLOB level_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/levels/level*.txt)
set(level_files)
foreach(source ${level_sources})
  get_filename_component(stem ${source} NAME_WE)
  string(REGEX REPLACE "^level0*" "" number ${stem})
  set(output ${CMAKE_BINARY_DIR}/Maps/Map${number}-1.bin)
  add_custom_command(OUTPUT ${output}
    COMMAND levelc compile ${source} ${output}
    DEPENDS levelc ${source}
    COMMENT "Compiling level ${number}")
  list(APPEND level_files ${output})
endforeach()
add_custom_target(levels ALL DEPENDS ${level_files})
add_custom_target(player_data ALL
  COMMAND levelc init-data ${CMAKE_BINARY_DIR}/Maps
  DEPENDS levelc
  COMMENT "Creating the data files of a new player where missing")
# docs/levels.md: what every level uses and demands, and how its shipped solutions end.
add_custom_target(levels-doc
  COMMAND levelc doc ${CMAKE_CURRENT_SOURCE_DIR}/levels ${CMAKE_SOURCE_DIR}/docs/levels.md
  DEPENDS levelc
  COMMENT "Writing docs/levels.md from the levels and their solutions")
