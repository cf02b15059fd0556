# Installs the build into a fresh prefix and checks that the program comes
# with its help text, its menu entry, the file type of cases and the icons,
# each where a desktop looks for it.

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

foreach(path
    bin/morvek
    lib/morvek/morvek-window.so
    lib/libmorvek_engine.a
    include/morvek/report/CaseRun.h
    include/morvek/model/FieldTable.h
    lib/cmake/morvek/morvekConfig.cmake
    share/morvek/help/morvek-hilfe.html
    share/applications/morvek.desktop
    share/mime/packages/morvek.xml
    share/icons/hicolor/scalable/apps/morvek.svg
    share/icons/hicolor/scalable/mimetypes/application-x-morvek.svg)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

file(READ ${PREFIX}/share/applications/morvek.desktop desktop)
foreach(line "Exec=morvek %f" "Icon=morvek" "MimeType=application/x-morvek;" "Name=Morvek")
  string(FIND "${desktop}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the desktop entry lacks '${line}'")
  endif()
endforeach()

file(READ ${PREFIX}/share/mime/packages/morvek.xml mime)
foreach(part "type=\"application/x-morvek\"" "pattern=\"*.mvk\"" "icon name=\"application-x-morvek\"")
  string(FIND "${mime}" "${part}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the file type lacks ${part}")
  endif()
endforeach()

# The installed program runs from its new place.
execute_process(COMMAND ${PREFIX}/bin/morvek --version RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out MATCHES "2\\.0")
  message(FATAL_ERROR "the installed program does not run: ${status} ${out}")
endif()

# The engine library serves a program of its own: find_package(morvek) and
# morvek::engine, with the installed headers only.
set(study ${PREFIX}-study)
file(REMOVE_RECURSE ${study})
file(WRITE ${study}/CMakeLists.txt [=[
cmake_minimum_required(VERSION 3.25)
project(study CXX)
find_package(morvek REQUIRED)
add_executable(study study.cpp)
target_link_libraries(study PRIVATE morvek::engine)
]=])
file(WRITE ${study}/study.cpp [=[
#include <cstdio>
#include "model/FieldTable.h"
#include "report/CaseRun.h"
int main() {
    morvek::CaseInputs in;
    in.ooip1000m3 = 5000.0f;
    in.initialPressureBar = 250.0f;
    in.bubblePointPressureBar = 200.0f;
    in.temperatureC = 80.0f;
    in.apiGravity = 35.0f;
    in.connateWaterSaturation = 0.2f;
    in.criticalGasSaturation = 0.05f;
    const morvek::PredictionResult r = morvek::PredictCase(in);
    std::printf("%zu steps, Np %.1f\n", r.steps.size(), r.steps.back().np1000m3);
    return r.steps.size() > 100 ? 0 : 1;
}
]=])
# A program on a library built with sanitizers links their runtime too: the
# study takes the flags the installed library was built with.
load_cache(${BUILD_DIR} READ_WITH_PREFIX built_ CMAKE_CXX_FLAGS CMAKE_EXE_LINKER_FLAGS)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${study} -B ${study}/build -G Ninja
                        -DCMAKE_PREFIX_PATH=${PREFIX}
                        "-DCMAKE_CXX_FLAGS=${built_CMAKE_CXX_FLAGS}"
                        "-DCMAKE_EXE_LINKER_FLAGS=${built_CMAKE_EXE_LINKER_FLAGS}"
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE err)
if(status EQUAL 0)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${study}/build
                  RESULT_VARIABLE status OUTPUT_VARIABLE err ERROR_VARIABLE err)
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "a program of its own cannot use the installed engine: ${err}")
endif()
execute_process(COMMAND ${study}/build/study RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the program on the installed engine fails: ${status} ${out}")
endif()
message(STATUS "installed engine: ${out}")
file(REMOVE_RECURSE ${study})
file(REMOVE_RECURSE ${PREFIX})
