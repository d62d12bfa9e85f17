list(APPEND ORE_CORE_SOURCES analysis/fraction_analysis.cpp analysis/grid_numbers.cpp
     analysis/pocket_distribution.cpp analysis/rounding.cpp analysis/sample_index.cpp
     analysis/tails_concentrate.cpp)
list(APPEND ORE_CORE_SOURCES analysis/lump_checks.cpp analysis/sortability.cpp)
list(APPEND ORE_CORE_SOURCES analysis/sortability_table.cpp analysis/pocket_cuts.cpp
     analysis/curve_decimation.cpp)
