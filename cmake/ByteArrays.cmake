# What the resource generators share: a file's bytes as a C++ array.
#
#   qv_append_byte_array(<file> <array name> <body variable> <size variable>)
#
# Appends the array (named after <array name>, preceded by a comment naming the file) to
# the variable <body variable> and sets <size variable> to the number of bytes.

function(qv_append_byte_array file array body_var size_var)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" hexLength)
  math(EXPR size "${hexLength} / 2")
  if(size EQUAL 0)
    set(bytes "0")
  else()
    # 32 bytes a line.
    string(REPEAT "[0-9a-f]" 64 line)
    string(REGEX REPLACE "(${line})" "\\1\n" hex "${hex}")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  endif()
  set(${body_var} "${${body_var}}// ${file}\nconst uint8_t ${array}[] = {\n${bytes}};\n\n" PARENT_SCOPE)
  set(${size_var} "${size}" PARENT_SCOPE)
endfunction()

# The resource name of a file: its name without the last extension, upper-cased.
function(qv_resource_name file name_var)
  get_filename_component(name "${file}" NAME_WLE)
  string(TOUPPER "${name}" name)
  set(${name_var} "${name}" PARENT_SCOPE)
endfunction()
