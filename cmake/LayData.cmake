cmake_minimum_required(VERSION 3.25)
# Copies the data tree SRC into the program folder DST.
# Files the program writes itself are laid only when absent, so that a rebuild
# never wipes a player's added words, records or settings.
set(PLAYER_FILES "DATA/Lib.RUS" "DATA/Lib.ENG" "DATA/Winners" "Kordi2000.ini")

file(GLOB_RECURSE data_files RELATIVE "${SRC}" "${SRC}/*")
foreach(rel IN LISTS data_files)
    set(target "${DST}/${rel}")
    if(rel IN_LIST PLAYER_FILES AND EXISTS "${target}")
        continue()
    endif()
    get_filename_component(target_dir "${target}" DIRECTORY)
    file(MAKE_DIRECTORY "${target_dir}")
    file(COPY_FILE "${SRC}/${rel}" "${target}" ONLY_IF_DIFFERENT)
endforeach()
