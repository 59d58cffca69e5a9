# Writes a C++ source that holds text files as string constants.
# -DOUTPUT=file.cpp -DINPUTS="name1=path1;name2=path2"
set(content "// Generated from the schema files; do not edit.\n#include <string_view>\nnamespace velmora {\n")
foreach(pair ${INPUTS})
  string(REPLACE "=" ";" pieces "${pair}")
  list(GET pieces 0 name)
  list(GET pieces 1 path)
  file(READ "${path}" text)
  string(APPEND content "std::string_view ${name}() {\n    static const char text[] = R\"velmora_embed(${text})velmora_embed\";\n    return {text, sizeof text - 1};\n}\n")
endforeach()
string(APPEND content "}  // namespace velmora\n")
file(WRITE "${OUTPUT}.tmp" "${content}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
