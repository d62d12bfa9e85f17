#pragma once
// Saving a workbook model as an .xlsx file (libxlsxwriter): what "Сохранить как…" of a report
// window and orefrac-batch --report write.

#include <string>

#include "platform/workbook/workbook.h"

namespace ore {

// Writes every sheet of wb, in order and under its name, to path: numbers as numbers, texts as
// texts, logical cells as booleans, dates as dates (day.month.year, with the time when there is
// one), error cells as their error; a cell with a formula keeps the formula and its cached value.
// The file is written beside the target under a temporary name and renamed over it only when
// complete, so a failure leaves no half-written file and an existing file untouched; a descriptor,
// a character device or a FIFO gets the finished file copied into it (platform/files).
// Throws ore::Error with a Russian message naming the file when it cannot be saved: the folder
// is missing or not writable, the file is read-only, a folder, a block device or a FIFO nobody
// reads (refused before anything is written), the disk is full, a sheet name
// the format does not allow (empty, longer than 31 characters, with one of []:*?/\, repeated),
// a text longer than 32767 characters, a number that is not finite, a workbook without sheets.
void writeXlsx(const Workbook& wb, const std::string& path);

}  // namespace ore
