#include "analysis/PhysChem.h"

#include "core/NumberText.h"
#include "core/SequenceText.h"

#include <cmath>

namespace quorin::analysis {
namespace {

constexpr std::string_view kEol = "\r\n";

std::string padRight(std::string text, std::size_t width)
{
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

} // namespace

std::array<double, 20> CompositionPercentages(const core::PropertyRecord& record)
{
    std::array<double, 20> percent{};
    const int length = record.ResidueLength();
    if (length == 0) {
        return percent;
    }
    for (int i = 1; i <= 20; ++i) {
        percent[static_cast<std::size_t>(i - 1)] =
            static_cast<double>(record.ResidueCount(i) * 100) / length;
    }
    return percent;
}

std::string PhysChemReportText(core::PropertyRecord& record)
{
    using core::FormatSignificant;
    std::string text;
    const std::string title = "Physico-chemical Properties of " + core::OneLineText(record.Name());
    text += title;
    text += kEol;
    text += std::string(title.size(), '*');
    text += kEol;
    text += kEol;
    text += "Isoelectric Point: " + FormatSignificant(record.IsoelectricPoint(), 3);
    text += kEol;
    text += kEol;
    const double mw = record.MolecularWeight();
    text += "Molecular Weight: " +
            FormatSignificant(mw, static_cast<int>(std::trunc(std::log10(mw) + 1))) + " Da";
    text += kEol;
    text += kEol;
    text += "Molar absorption coefficient (280 nm):";
    text += kEol;
    text += "denatured (6M GdnHCl): " + FormatSignificant(record.AbsorptionDenatured(), 3) +
            " /(mM*cm)" + std::string(13, ' ') +
            "nativ: " + FormatSignificant(record.AbsorptionNative(), 3) + " /(mM*cm)";
    text += kEol;
    text += kEol;
    text += "AA Composition: ";
    text += kEol;

    const auto percent = CompositionPercentages(record);
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 4; ++column) {
            const int index = row * 4 + column + 1;
            if (column > 0) {
                text += "  ";
            }
            const double p = percent[static_cast<std::size_t>(index - 1)];
            const std::string pText =
                p == 0.0 ? "0"
                         : FormatSignificant(p, static_cast<int>(std::trunc(std::log10(p) + 2)));
            text += core::LetterOfIndex(index);
            text += ": ";
            text += padRight(std::to_string(record.ResidueCount(index)), 4);
            text += "(" + pText + "%)";
            text += std::string(pText.size() < 4 ? 4 - pText.size() : 0, ' ');
        }
        text += kEol;
    }
    return text;
}

} // namespace quorin::analysis
