# core files of platform/
