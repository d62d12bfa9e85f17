# core files of graph/
