# core files of analysis/
