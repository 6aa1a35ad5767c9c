# Fails when the program's link brought library code the program has no use
# for, as the linker's map shows it: GCC's name demangler (brought by the
# default handler of an uncaught exception, to print a type name to the
# console that a windows program lacks) and MinGW's printf formatter (brought
# by a single snprintf or std::to_wstring). Together 60 KB of the program.
#   cmake -DMAP=Quarrow.map -P LeftOutCode.cmake
file(READ "${MAP}" map)
foreach(member cp-demangle mingw_pformat)
  if(map MATCHES "[(][^()\n]*${member}\\.o[)]")
    message(FATAL_ERROR "${MAP}: the program brings ${member}.o (see the linker's map for the reference)")
  endif()
endforeach()
message(STATUS "${MAP}: neither the demangler nor printf's formatter")
