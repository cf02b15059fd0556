# The sources of the engine library and of the shell's headless core, shared by
# the program build and the fuzzing build (which compiles them again with the
# fuzzer's sanitizers).
#
#   engine: the library morvek::engine, no Qt, no questions, no output of its own
#   core:   the document, the dialog logic, aus.txt and the graph page, no Qt
set(MORVEK_ENGINE_DIRS base model pvt depletion report match sweep waterdrive forecast)
set(MORVEK_CORE_DIRS case input results views)
foreach(part ENGINE CORE)
  set(MORVEK_${part}_SOURCES)
  foreach(dir IN LISTS MORVEK_${part}_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${dir}/*.cpp)
    list(APPEND MORVEK_${part}_SOURCES ${found})
  endforeach()
endforeach()
