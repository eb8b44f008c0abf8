// Loads a sequence file and saves it again, sketch included when the file had
// one; the exit status is 1 when the file was refused. cross_check_pep.py
// drives it with files written by an independent writer.
#include "core/FileIo.h"
#include "core/PepFile.h"

#include <iostream>

int main(int argc, char** argv)
{
    using namespace quorin::core;
    if (argc != 3) {
        std::cerr << "usage: pep_resave IN OUT\n";
        return 2;
    }
    const auto bytes = ReadWholeFile(argv[1]);
    if (!bytes) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 2;
    }
    PropertyRecord record;
    const PepLoadResult result = LoadSequenceBytes(*bytes, record);
    if (result.status != PepLoadStatus::Ok) {
        return 1;
    }
    return SaveSequenceFile(argv[2], record, result.hasSketch) ? 0 : 2;
}
