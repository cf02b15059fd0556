# The sources of the engine library, shared by the program build and the
# fuzzing build (which compiles the engine again with the fuzzer's sanitizers).
set(MORVEK_CORE_DIRS base case pvt depletion input results views)
set(MORVEK_CORE_SOURCES)
foreach(dir IN LISTS MORVEK_CORE_DIRS)
  file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${dir}/*.cpp)
  list(APPEND MORVEK_CORE_SOURCES ${found})
endforeach()
