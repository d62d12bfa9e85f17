#pragma once
// The report export of the results window ("Записать в Excel"): the results grid written as one
// report block into the spreadsheet application, cell by cell, through the automation layer.

#include <functional>
#include <memory>

#include "data/number_format.h"
#include "data/text_grid.h"
#include "data/workspace.h"
#include "platform/spreadsheet/automation.h"

namespace ore::report {

// Makes the application object of a separate-file export. Tests pass a fake; the default is
// automation::createObject("excel.application").
using ApplicationFactory = std::function<std::shared_ptr<automation::Object>()>;

// Writes one report block (see report_block.h for the cells).
// ReportMode 1: creates a new application (stored in ws.ReportExcel as soon as it exists), makes
// it visible, adds a one-sheet workbook (-4167), names sheet 1 of workbook 1 "Отчет" and sets
// reportRowOffset to 0. Any other mode appends to ws.ReportExcel as it stands. Every cell is put
// through the application's "cells", so it lands on the application's active sheet.
// On success reportRowOffset grows by blockHeight(ws.PocketCount). Any failure (the factory's,
// an automation call's, a grid text that is not a number) propagates as ore::Error at the cell
// where it happens: cells written before stay, reportRowOffset keeps its value. Without an
// application (mode 2 before any mode-1 export) it throws "Invalid variant operation" before
// writing anything.
void exportReport(Workspace& ws, const TextGrid& results, const NumberFormat& fmt,
                  int& reportRowOffset, const ApplicationFactory& makeApplication = {});

}  // namespace ore::report
