-- The uninstall script, shipped for the product's own uninstaller.
uninstall_stages = {}
