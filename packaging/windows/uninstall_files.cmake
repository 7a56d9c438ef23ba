# cmake -DFOLDER=<folder> -DOUTPUT=<file.nsh> -P uninstall_files.cmake
# Writes the uninstaller's steps for the installed folder: each file deleted by name, then each
# subfolder removed if it is left empty, the deepest first.
file(GLOB_RECURSE files RELATIVE ${FOLDER} LIST_DIRECTORIES false ${FOLDER}/*)
file(GLOB_RECURSE folders RELATIVE ${FOLDER} LIST_DIRECTORIES true ${FOLDER}/*)
list(REMOVE_ITEM folders ${files})
list(SORT files)
list(SORT folders ORDER DESCENDING)
set(steps "")
foreach(file ${files})
    string(REPLACE "/" "\\" file "${file}")
    string(APPEND steps "Delete \"$INSTDIR\\${file}\"\n")
endforeach()
foreach(folder ${folders})
    string(REPLACE "/" "\\" folder "${folder}")
    string(APPEND steps "RMDir \"$INSTDIR\\${folder}\"\n")
endforeach()
file(WRITE ${OUTPUT} "${steps}")
