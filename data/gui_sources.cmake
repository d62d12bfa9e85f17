# Qt files of data/ (none)
