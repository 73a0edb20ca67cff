namespace quillora {}
