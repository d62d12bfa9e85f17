# core files of setup/
