// The part of the compound-document reader that goes through libgsf, behind a
// table of entry points: libgsf brings GObject, GIO and libxml2, which only
// the commands that read a workbook need. Built as the module
// tpworm-libgsf.so (core/program_module.h), loaded when the first workbook is
// read; a build with TPWORM_LAZY_LIBGSF off links it into the program.
#pragma once

#include "workbook/container.h"

namespace tpworm::workbook::container::gsf {

// One file being read; the module's own.
struct Reading;

struct Api {
    // Opens the file's compound document and reads every entry into root,
    // except the root's first stream named Workbook, which is kept unread.
    // nullptr when the file cannot be used: with the reason in error when
    // the document is damaged, with error empty when libgsf does not take it
    // for a compound document at all.
    Reading* (*open)(const QByteArray& file, Entry& root, QString& error);
    // The size of the kept Workbook stream; 0 when there is none.
    qsizetype (*workbookSize)(const Reading* reading);
    // Reads the kept Workbook stream (its size bytes); false with the reason
    // in error when it cannot be read.
    bool (*readWorkbook)(Reading* reading, QByteArray& into, QString& error);
    void (*close)(Reading* reading);
};

} // namespace tpworm::workbook::container::gsf

// The module's one exported function.
extern "C" const tpworm::workbook::container::gsf::Api* tpworm_libgsf_api();
#define TPWORM_LIBGSF_MODULE "tpworm-libgsf.so"
