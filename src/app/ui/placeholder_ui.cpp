// Removed once the main window exists.
