# Run at install time: copies into the installed directory every DLL that
# the installed programs import, directly or through another DLL, found in
# KADRIX_DLL_DIRECTORIES (Qt's bin directory and the compiler's runtime),
# matched regardless of letter case as Windows matches them. A DLL found in
# none of them is Windows' own and stays out.
#
# Set before: KADRIX_OBJDUMP, KADRIX_DLL_DIRECTORIES, KADRIX_DLL_PROGRAMS
# (the installed programs, relative to the installation directory).

cmake_policy(VERSION 3.25)

set(destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

set(available)
foreach(directory IN LISTS KADRIX_DLL_DIRECTORIES)
  file(GLOB dlls "${directory}/*.dll")
  foreach(dll IN LISTS dlls)
    get_filename_component(name "${dll}" NAME)
    string(TOLOWER "${name}" key)
    if(NOT DEFINED found_${key})
      set(found_${key} "${dll}")
    endif()
  endforeach()
endforeach()

set(pending)
foreach(program IN LISTS KADRIX_DLL_PROGRAMS)
  list(APPEND pending "${destination}/${program}")
endforeach()
set(copied)
while(pending)
  list(POP_FRONT pending file)
  execute_process(COMMAND "${KADRIX_OBJDUMP}" -p "${file}" OUTPUT_VARIABLE imports
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "Cannot read the imports of ${file}")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" names "${imports}")
  foreach(line IN LISTS names)
    string(REGEX REPLACE "DLL Name: " "" name "${line}")
    string(STRIP "${name}" name)
    string(TOLOWER "${name}" key)
    if(DEFINED found_${key} AND NOT key IN_LIST copied)
      list(APPEND copied "${key}")
      file(INSTALL "${found_${key}}" DESTINATION "${destination}")
      get_filename_component(installed "${found_${key}}" NAME)
      list(APPEND pending "${destination}/${installed}")
    endif()
  endforeach()
endwhile()
