# The find and replace dialogs belong to the Qt shell.
target_sources(quillora_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/search_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/replace_form.cpp
)
