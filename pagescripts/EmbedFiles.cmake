# Writes OUTPUT, a C++ source that defines the accessors of PageScripts.h over the exact bytes
# of the page files. Run as `cmake -DOUTPUT=... -DINPUTS=name=file;... -P EmbedFiles.cmake`:
# each name=file pair becomes the function `name()` returning the file's bytes.
cmake_minimum_required(VERSION 3.25)

set(text "// Generated from the page files by EmbedFiles.cmake; edit those files, not this one.\n")
string(APPEND text "#include \"pagescripts/PageScripts.h\"\n\nnamespace korventa {\nnamespace {\n\n")
set(accessors "")
foreach(pair IN LISTS INPUTS)
    string(FIND "${pair}" "=" split)
    string(SUBSTRING "${pair}" 0 ${split} name)
    math(EXPR start "${split} + 1")
    string(SUBSTRING "${pair}" ${start} -1 file)
    file(SIZE "${file}" size)
    if(size EQUAL 0)
        message(FATAL_ERROR "${file} is empty")
    endif()
    file(READ "${file}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
           "\\1\n" bytes "${bytes}")
    string(APPEND text "constexpr unsigned char ${name}Bytes[] = {\n${bytes}};\n\n")
    string(APPEND accessors "std::string_view ${name}() {\n"
           "    return {reinterpret_cast<const char*>(${name}Bytes), sizeof ${name}Bytes};\n}\n\n")
endforeach()
string(APPEND text "}  // namespace\n\n${accessors}}  // namespace korventa\n")
file(WRITE "${OUTPUT}" "${text}")
