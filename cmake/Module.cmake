# pilcrow_headers(TARGET SCOPE DIRECTORY): the users of TARGET (SCOPE PUBLIC or INTERFACE) include
# the headers of DIRECTORY as "NAME/header.h", NAME being the directory's own name, and see no
# other directory: each module reaches only the modules it links, so a layer that reaches past
# its seam fails to compile. The include root holds one symbolic link to the directory.
function(pilcrow_headers target scope directory)
  get_filename_component(name ${directory} NAME)
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${directory} ${root}/${name} SYMBOLIC)
  target_include_directories(${target} ${scope} ${root})
endfunction()

# pilcrow_module(NAME [DEPS ...]): a static library of every .cpp in the calling directory, its
# headers included as "<directory>/header.h".
# A module without sources yet is an interface library, so the tree configures at every step.
function(pilcrow_module name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${ARGN})
    pilcrow_headers(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARGN})
    pilcrow_headers(${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
endfunction()

# pilcrow_test(NAME [DEPS ...]): one GoogleTest executable of every .cpp in the calling directory,
# each test registered with CTest.
function(pilcrow_test name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  pilcrow_discover_tests(${name})
endfunction()

# pilcrow_discover_tests(TARGET [NAME=VALUE ...]): registers every test of a GoogleTest executable
# with CTest, run in the build directory with the headless SDL drivers, TUMBREL_BUILD_DIR,
# TUMBREL_SOURCE_DIR and any further variables given.
# The environment goes through `cmake -E env` as the test launcher: gtest_discover_tests splits a
# multi-variable ENVIRONMENT property into separate properties, which drops all but the first.
function(pilcrow_discover_tests name)
  set(environment SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
      TUMBREL_BUILD_DIR=${CMAKE_BINARY_DIR} TUMBREL_SOURCE_DIR=${CMAKE_SOURCE_DIR} ${ARGN})
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${CMAKE_COMMAND};-E;env;${environment}")
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_TIMEOUT 60)
endfunction()
