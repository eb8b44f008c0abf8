#include "cli/Commands.h"
#include "core/FileIo.h"

#include <array>
#include <iostream>
#include <string>
#include <vector>

namespace quorin::cli {
namespace {

constexpr std::string_view kSettingsOption =
    "  --settings PATH  the settings file (default: quorin.ini in the user-data directory)\n";
constexpr std::string_view kOutputOption =
    "  -o PATH          write the output to PATH instead of standard output\n";
constexpr std::string_view kFileText =
    " is a .pep file or a FASTA text (first record); - reads standard input.\n";

constexpr std::array kCommands = {
    Command{"props", "the physico-chemical properties report", "props [OPTIONS] FILE", &RunProps},
    Command{"convert", "IN as a .pep file (OUT ending in .pep) or as FASTA (any other OUT, - too)",
            "convert [--settings PATH] IN OUT", &RunConvert, false},
    Command{
        "digest", "the digest report: cleavage sites and every fragment",
        "digest [OPTIONS] FILE --agent NAME [--agent NAME ...] [--sort start|length|weight] "
        "[--complete] [--max-fragments N] [--max-missed N] [--min-length N] [--max-length N] "
        "[--mono] [--csv [--charges Z,Z,...]]\n"
        "   or: quorin-cli digest [OPTIONS] FILE --enzyme NAME [--specificity full|semi|none] "
        "[--tsv]\n"
        "  --agent NAME     a cleaving agent of the settings; several combine in the order given\n"
        "  --sort KEY       order of the fragments (default weight)\n"
        "  --complete       only the fragments of the complete digest\n"
        "  --max-fragments N\n"
        "                   refuse a digest of more than N fragments (default: as many as a\n"
        "                   quarter of the memory holds)\n"
        "  --max-missed N   only fragments with at most N cut sites inside (default: all)\n"
        "  --min-length N, --max-length N\n"
        "                   only fragments of at least, at most N residues\n"
        "  --mono           monoisotopic masses instead of the settings' average ones\n"
        "  --csv            a comma-separated table of the fragments instead of the report\n"
        "  --charges Z,Z,...\n"
        "                   with --csv, an m/z column for each charge state\n"
        "  --enzyme NAME    instead of agents, an enzyme of the built-in library (Trypsin,\n"
        "                   Lys-C, Asp-N, Glu-C, Chymotrypsin, ...; any case)\n"
        "  --specificity full|semi|none\n"
        "                   with --enzyme: both ends cut sites (default), one, or none\n"
        "  --tsv            with --enzyme: start, end, missed cleavages and residues of each\n"
        "                   peptide, in order of start, then end",
        &RunDigest},
    Command{
        "modfinder", "the ModFinder report: digest fragments plus a modification at a weight",
        "modfinder [OPTIONS] FILE --agent NAME [--agent NAME ...] --mod NAME [--mod NAME ...] "
        "--weight W [--uncertainty U] [--complete]\n"
        "  --agent NAME     a cleaving agent of the settings; several combine in the order given\n"
        "  --mod NAME       a modification of the settings; searched in the order given\n"
        "  --weight W       the measured weight of the unknown peptide (dalton)\n"
        "  --uncertainty U  the uncertainty of the weight (default 1.0)\n"
        "  --complete       only matches on fragments of the complete digest",
        &RunModFinder},
    Command{"hydropathy", "the hydropathy values of a stretch, as \"Export hydropathy data\"",
            "hydropathy [--from N] [--to N] [--window N] [--scale INDEX] [--threshold T] "
            "[--delimiter TEXT] [OPTIONS] FILE\n"
            "defaults: 1, the last residue, 11, the first scale, 1.6, a TAB",
            &RunHydropathy},
    Command{"helices", "the predicted transmembrane helices: start TAB end (one past the helix)",
            "helices [--scale INDEX] [--threshold T] [OPTIONS] FILE\n"
            "defaults: the first scale, 1.6",
            &RunHelices},
    Command{"moment", "the amphipathy moment of a stretch, as the helical wheel reports it",
            "moment --from A --to B [--scale INDEX] [OPTIONS] FILE\n"
            "the stretch A..B (1-based, inclusive); default scale: the first",
            &RunMoment},
    Command{"motifs", "the motif search report: the motifs and every site",
            "motifs [--by-motif] [OPTIONS] FILE SEARCH\n"
            "  or:  quorin-cli motifs --prosite PATTERN [--tsv] [OPTIONS] FILE\n"
            "  SEARCH           motifs separated by \";\" (X matches any residue), e.g. \"GX;LL\"\n"
            "  --by-motif       list the sites motif by motif (default: by position)\n"
            "  --prosite PATTERN\n"
            "                   a PROSITE pattern instead, e.g. \"N-{P}-[ST]-{P}\"; every start\n"
            "                   where it matches, with the shortest match\n"
            "  --tsv            the matches as tab-separated start, end and match",
            &RunMotifs},
    Command{
        "batch", "the batch analysis of a multi-record FASTA file: results and log, or digest",
        "batch INPUT [--set \"KEY=VALUE\" ...] [--results PATH] [--log PATH | --no-log] "
        "[--digest --agent NAME ... [--max-fragments N]] [--jobs N] [--rows-only] "
        "[--settings PATH]\n"
        "  INPUT            a multi-record FASTA text (.gz read through zlib); - reads\n"
        "                   standard input, and the results then go to standard output\n"
        "  --set KEY=VALUE  a key of \"Batch Execution Options\" for this run only\n"
        "  --results PATH   the results (or digest) file; - is standard output\n"
        "                   (default: INPUT with _results.txt or _digest.txt for its extension)\n"
        "  --log PATH       the log (default: beside the results file, none on standard output)\n"
        "  --no-log         write no log\n"
        "  --digest         digest every record with the --agent agents instead\n"
        "  --max-fragments N\n"
        "                   refuse a record whose digest makes more than N fragments\n"
        "                   (default: as many as a quarter of the memory holds)\n"
        "  --jobs N         analyse on N threads (default: one per processor)\n"
        "  --rows-only      the sequence rows alone: no header, statistics or log\n"
        "  or:  quorin-cli batch INPUT --prosite PATTERN [--results PATH] [--jobs N]\n"
        "every match of a PROSITE pattern in every record, tab-separated: record,\n"
        "start, end, match (on standard output unless --results names a file)\n"
        "  or:  quorin-cli batch INPUT --digest --enzyme NAME [--specificity full|semi|none]\n"
        "       [--max-missed N] [--min-length N] [--max-length N] [--results PATH] [--jobs N]\n"
        "the digest file of every record's peptides by a library enzyme (see digest), each\n"
        "record's in order of start, then end",
        &RunBatch, false},
    Command{"titration", "the net charge from pH to pH and the pI, for a set of pK values",
            "titration [--pka-set NAME] [--from PH] [--to PH] [--step PH] [OPTIONS] FILE\n"
            "  --pka-set NAME   settings (the settings' table, the default), EMBOSS, Bjellqvist,\n"
            "                   Lehninger, Grimsley, Rodwell, Solomon, Sillero, Dawson,\n"
            "                   fitted-peptide or fitted-protein\n"
            "  --from PH        the first pH (default 0)\n"
            "  --to PH          the last pH (default 14)\n"
            "  --step PH        the step (default 0.5)",
            &RunTitration},
    Command{"params",
            "the parameter sheet: masses, formula, pI under every set, extinction, indices",
            "params [--json] [OPTIONS] FILE\n"
            "  --json           one JSON object instead of \"name: value\" lines",
            &RunParams},
    Command{"scan", "every pattern of a PROSITE data file over the sequence",
            "scan --prosite-dat PATH [--tsv] [OPTIONS] FILE\n"
            "  --prosite-dat PATH\n"
            "                   a PROSITE data file (ID, AC, DE and PA lines); entries without\n"
            "                   a pattern are skipped, a pattern that does not parse is named\n"
            "                   on standard error\n"
            "  --tsv            the matches as tab-separated accession, id, start, end, match",
            &RunScan},
#ifdef QUORIN_CLI_RENDER
    Command{
        "render", "a plot page as SVG, PDF, PNG or EMF (by the ending of OUT)",
        "render hydropathy -o OUT [--print-layout] [--from N] [--to N] [--window N] "
        "[--scale INDEX] [--threshold T] [--mark N ...] [--text X,Y,TEXT ...] [OPTIONS] FILE\n"
        "the screen page, or the printed A4 sheet with --print-layout; --mark marks a\n"
        "residue, --text places a text item at page coordinates (\\n breaks the line)\n"
        "  or:  quorin-cli render amphipathy -o OUT [--print-layout] [--from N] [--to N] "
        "[--window N] [--scale INDEX] [OPTIONS] FILE\n"
        "the amphipathy moment page; default window 19\n"
        "  or:  quorin-cli render wheel --from A --to B -o OUT [--print-layout] [OPTIONS] FILE\n"
        "the helical wheel of residues A..B\n"
        "  or:  quorin-cli render domains -o OUT [--print-layout] [OPTIONS] FILE\n"
        "the sketch of domains that the .pep FILE carries\n"
        "  or:  quorin-cli render titration -o OUT [--print-layout] [--pka-set NAME] "
        "[OPTIONS] FILE\n"
        "the net charge from pH 0 to 14 with the isoelectric point; NAME as for titration",
        &RunRender},
#endif
#ifdef QUORIN_CLI_FETCH
    Command{"fetch",
            "downloads a protein by accession number, as FASTA or .pep (OUT ending in .pep)",
            "fetch [--source genbank|uniprot] [--server URL] [--timeout SECONDS] [OPTIONS] [--] "
            "ACCESSION\n"
            "  --source NAME    genbank (NCBI's E-utilities, the default) or uniprot (the\n"
            "                   UniProt REST service; the entry is read with its features)\n"
            "  --server URL     the service's base URL (default: the \"Server\" key, for\n"
            "                   uniprot \"UniProt Server\", of the settings' \"Download\"\n"
            "                   section, else the public service)\n"
            "  --timeout SECONDS\n"
            "                   the time limit of each request, 1 to 86400 (default 30)\n"
            "  --               ends the options: an ACCESSION after it may begin with \"-\"",
            &RunFetch},
#endif
    Command{"features", "the features (FT lines) of a UniProt entry: key, start, end, description",
            "features [--tsv] [OPTIONS] FILE\n"
            "  --tsv            a tab-separated table (the only form; accepted for scripts)",
            &RunFeatures},
    Command{"topology",
            "the predicted membrane topology of every FASTA record: helices, signal peptide",
            "topology [--gff] [--jobs N] [OPTIONS] INPUT\n"
            "  INPUT            a multi-record FASTA text (.gz read through zlib); - reads\n"
            "                   standard input\n"
            "  (default)        three lines a record: \">\" and its name, the sequence, one\n"
            "                   label a residue: i inside, o outside, H transmembrane helix,\n"
            "                   S signal peptide\n"
            "  --gff            GFF3 instead: one line per helix and signal peptide\n"
            "  --jobs N         decode on N threads (default: one per processor); the output\n"
            "                   is the same for every N",
            &RunTopology},
};

// Also the source of the manual page, through help2man: "Usage:" opens its
// synopsis, "Options:" its options and each other "Title:" line a section.
void printProgramUsage(std::ostream& out)
{
    out << "Usage: quorin-cli COMMAND [OPTIONS] FILE\n"
           "  or:  quorin-cli --help | --version\n"
           "Analyses a protein or peptide sequence as the Quorin desktop program does, without\n"
           "a window; the text outputs are the program's own, byte for byte.\n"
        << "FILE" << kFileText << "\nCommands:\n";
    for (const Command& command : kCommands) {
        out << "  " << command.name << std::string(12 - command.name.size(), ' ') << command.summary
            << '\n';
    }
    out << "\nOptions:\n"
        << kSettingsOption << kOutputOption
        << "  --help           show the help of the program or of a command\n"
           "  --version        show the version\n"
           "\nquorin-cli COMMAND --help describes a command and its options.\n"
           "\nSettings:\n"
           "  Without --settings, quorin-cli reads quorin.ini in the user-data directory of\n"
           "  the desktop program: the settings folder chosen in its Preferences, else\n"
           "  $XDG_DATA_HOME/quorin (~/.local/share/quorin when XDG_DATA_HOME is not set).\n"
           "  When that folder holds no quorin.ini, the starter settings (common cleaving\n"
           "  agents and modifications, the two hydropathy scales) are placed there first.\n"
           "  An existing settings file is never replaced, and nothing is written into the\n"
           "  current folder. A --settings file that does not exist is created with the\n"
           "  built-in defaults alone (no cleaving agents).\n"
           "\nExit status:\n"
           "  0  done\n"
           "  1  the input was refused (one line on standard error)\n"
           "  2  wrong usage\n";
}

void printCommandUsage(std::ostream& out, const Command& command)
{
    out << "Usage: quorin-cli " << command.usage << "\n"
        << command.summary << "\n\n"
        << kSettingsOption << (command.writesOutput ? kOutputOption : std::string_view())
        << "  --help           show this help\n";
    // The batch describes its own INPUT; fetch takes no file.
    if (command.usage.find(" INPUT") != std::string_view::npos) {
        return;
    }
    if (command.usage.find(" FILE") != std::string_view::npos) {
        out << "FILE" << kFileText;
    } else if (command.usage.find(" IN") != std::string_view::npos) {
        out << "IN" << kFileText;
    }
}

} // namespace

std::span<const Command> AllCommands()
{
    return kCommands;
}

} // namespace quorin::cli

int main(int argc, char** argv)
{
    using namespace quorin::cli;
    quorin::core::InstallTemporaryFileCleanup();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printProgramUsage(std::cerr);
        return 2;
    }
    if (args.front() == "--help" || args.front() == "-h") {
        printProgramUsage(std::cout);
        return 0;
    }
    if (args.front() == "--version") {
        std::cout << "quorin-cli " QUORIN_VERSION "\n";
        return 0;
    }
    const Command* command = nullptr;
    for (const Command& candidate : AllCommands()) {
        if (candidate.name == args.front()) {
            command = &candidate;
        }
    }
    if (command == nullptr) {
        std::cerr << "quorin-cli: unknown command \"" << args.front() << "\"\n";
        printProgramUsage(std::cerr);
        return 2;
    }
    args.erase(args.begin());
    Arguments arguments(args);
    if (arguments.TakeFlag("--help") || arguments.TakeFlag("-h")) {
        printCommandUsage(std::cout, *command);
        return 0;
    }
    try {
        return command->run(arguments);
    } catch (const UsageError& error) {
        std::cerr << "quorin-cli " << command->name << ": " << error.what() << "\n";
        printCommandUsage(std::cerr, *command);
        return 2;
    } catch (const InputRefused& error) {
        std::cerr << error.what() << "\n";
        return 1;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
}
