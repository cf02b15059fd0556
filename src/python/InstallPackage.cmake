# Installs the package morvek (MORVEK_PACKAGE_DIR) into the site directory of
# MORVEK_PYTHON that lies under the install prefix, or into
# <prefix>/lib/python3/dist-packages when the interpreter searches none there.
cmake_path(SET prefix NORMALIZE "${CMAKE_INSTALL_PREFIX}/")
execute_process(
  COMMAND ${MORVEK_PYTHON} -c
          "import site, sys; print(';'.join(sys.path + [site.getusersitepackages()]))"
  OUTPUT_VARIABLE searched OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
set(site "${prefix}lib/python3/dist-packages")
set(found FALSE)
if(status EQUAL 0)
  foreach(dir IN LISTS searched)
    string(FIND "${dir}" "${prefix}lib/" at)
    if(at EQUAL 0 AND dir MATCHES "-packages$")
      set(site "${dir}")
      set(found TRUE)
      break()
    endif()
  endforeach()
endif()
file(INSTALL ${MORVEK_PACKAGE_DIR} DESTINATION "${site}"
     FILES_MATCHING PATTERN "*.py" PATTERN "*.pyi" PATTERN "py.typed" PATTERN "*.so"
     PATTERN "__pycache__" EXCLUDE)
if(found)
  message(STATUS "Python module morvek: ${site}/morvek (found by ${MORVEK_PYTHON})")
else()
  message(STATUS "Python module morvek: ${site}/morvek; "
                 "${MORVEK_PYTHON} finds it with PYTHONPATH=${site}")
endif()
