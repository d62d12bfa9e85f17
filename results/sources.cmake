# core files of results/
