# rpm_requires(PROGRAM VAR): the RPM Requires of an ELF program, in the form
# Fedora's own packages use: each library it links by soname, "libX.so.1()(64bit)",
# and, for each library whose symbols it takes by version, the highest version
# of each kind it takes, "libc.so.6(GLIBC_2.34)(64bit)". The latter is the
# floor: a system with an older glibc, libstdc++ or libgcc cannot run it.
function(rpm_requires program var)
  find_program(READELF readelf REQUIRED)
  execute_process(COMMAND ${READELF} --wide --file-header --dynamic --version-info ${program}
                  OUTPUT_VARIABLE elf COMMAND_ERROR_IS_FATAL ANY)
  set(bits "")
  if(elf MATCHES "Class:[ \t]+ELF64")
    set(bits "(64bit)")
  endif()
  string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]\n]+\\]" needed "${elf}")
  set(requires "")
  foreach(line IN LISTS needed)
    string(REGEX REPLACE ".*\\[(.+)\\]$" "\\1" soname "${line}")
    list(APPEND requires "${soname}()${bits}")
  endforeach()

  # The version needs: a "File: libc.so.6" line, then one "Name: GLIBC_2.34"
  # line per version taken from it.
  string(REGEX MATCHALL "(File: [^ \n]+|Name: [A-Z][A-Z_]*_[0-9.]+)" entries "${elf}")
  set(kinds "")
  foreach(entry IN LISTS entries)
    if(entry MATCHES "^File: (.+)")
      set(file ${CMAKE_MATCH_1})
    elseif(entry MATCHES "^Name: ([A-Z_]+)_([0-9.]+)$")
      set(kind "${file}(${CMAKE_MATCH_1}")
      string(MAKE_C_IDENTIFIER "${kind}" key)
      if(NOT DEFINED highest_${key})
        list(APPEND kinds "${kind}")
        set(highest_${key} ${CMAKE_MATCH_2})
      elseif(CMAKE_MATCH_2 VERSION_GREATER highest_${key})
        set(highest_${key} ${CMAKE_MATCH_2})
      endif()
    endif()
  endforeach()
  foreach(kind IN LISTS kinds)
    string(MAKE_C_IDENTIFIER "${kind}" key)
    list(APPEND requires "${kind}_${highest_${key}})${bits}")
  endforeach()
  if(NOT needed)
    message(FATAL_ERROR "rpm_requires: ${program} links no libraries (not a dynamic ELF program?)")
  endif()
  list(JOIN requires ", " requires)
  set(${var} "${requires}" PARENT_SCOPE)
endfunction()
