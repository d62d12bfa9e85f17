list(APPEND ORE_CORE_SOURCES analysis/fraction_analysis.cpp)
