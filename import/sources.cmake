# core files of import/
