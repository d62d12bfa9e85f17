# core files of app/ (none)
