# The find and replace dialogs belong to the Qt shell.
target_sources(quillora_ui PRIVATE
)
