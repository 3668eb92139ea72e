# cmake -DLISTS=layers.cmake -P CheckLayers.cmake
# LISTS sets ROOT, LAYERS and for each layer <layer>_FILES and <layer>_ALLOWED. Fails when
# a file of a layer includes a project header (a quoted include found under ROOT) that is
# not among the files the layer may include.
cmake_minimum_required(VERSION 3.25)
include(${LISTS})

set(violations)
foreach(layer IN LISTS LAYERS)
    foreach(path IN LISTS ${layer}_FILES)
        if(NOT path MATCHES "\\.(h|cpp)$")
            continue()
        endif()
        file(STRINGS ${path} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header
                                 "${line}")
            set(target ${ROOT}/${header})
            if(EXISTS ${target} AND NOT target IN_LIST ${layer}_ALLOWED)
                file(RELATIVE_PATH shown ${ROOT} ${path})
                list(APPEND violations "${shown} (${layer}) includes ${header}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n  " listed)
    message(FATAL_ERROR "A lower layer includes a header above it:\n  ${listed}")
endif()
