#include "analysis/Topology.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

namespace quorin::analysis {

namespace {

// The trained parameters: the build wraps TopologyParameters.txt (written by
// tools/train_topology) into a raw string literal.
constexpr std::string_view kBuiltInTopologyText =
#include "analysis/TopologyParameters.inc"
    ;

constexpr int kBeyondEnd = 20;
constexpr std::array<std::string_view, kTopologyClassCount> kClassNames = {
    "globular", "secreted", "inside", "outside", "helix", "signal"};

// The symbol of a letter: 0..19 for the residues, -1 for any other letter.
struct SymbolTable
{
    std::array<int, 256> index{};
    SymbolTable()
    {
        index.fill(-1);
        for (std::size_t k = 0; k < kTopologyAlphabet.size(); ++k) {
            const char c = kTopologyAlphabet[k];
            index[static_cast<unsigned char>(c)] = static_cast<int>(k);
            index[static_cast<unsigned char>(c - 'A' + 'a')] = static_cast<int>(k);
        }
    }
};

// tanh by a table with linear interpolation (error below 1e-6): the
// library's tanh took most of the decoding time.
float FastTanh(float x)
{
    constexpr int kSteps = 512; // per unit
    constexpr float kLimit = 9.0f;
    static const std::vector<float> table = [] {
        std::vector<float> values(static_cast<std::size_t>(2 * kLimit * kSteps) + 2);
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = static_cast<float>(
                std::tanh(static_cast<double>(i) / kSteps - static_cast<double>(kLimit)));
        return values;
    }();
    if (!(x > -kLimit))
        return -1.0f;
    if (!(x < kLimit))
        return 1.0f;
    const float at = (x + kLimit) * kSteps;
    const auto i = static_cast<std::size_t>(at);
    const float f = at - static_cast<float>(i);
    return table[i] + f * (table[i + 1] - table[i]);
}

int SymbolOf(char c)
{
    static const SymbolTable table;
    return table.index[static_cast<unsigned char>(c)];
}

class ArchitectureBuilder
{
public:
    TopologyArchitecture arch;

    int Emission(const std::string& name)
    {
        const int index = arch.EmissionIndex(name);
        if (index >= 0)
            return index;
        arch.emissions.push_back(name);
        return static_cast<int>(arch.emissions.size()) - 1;
    }

    int State(const std::string& name, TopologyClass cls, const std::string& emission)
    {
        TopologyState state;
        state.name = name;
        state.cls = cls;
        state.emission = Emission(emission);
        arch.states.push_back(std::move(state));
        return static_cast<int>(arch.states.size()) - 1;
    }

    void Link(int from, int to) { arch.states[static_cast<std::size_t>(from)].next.push_back(to); }
    TopologyState& At(int s) { return arch.states[static_cast<std::size_t>(s)]; }
};

// Caps: the four residues at either end of a helix have tables of their own
// (aromatic belts, charges at the inner end); the core between them shares
// one table. The core is a chain so that a helix's length stays within
// kTopologyHelixMin..kTopologyHelixMax.
constexpr int kCaps = 4;

TopologyArchitecture BuildArchitecture()
{
    ArchitectureBuilder b;
    using C = TopologyClass;

    const int glob = b.State("glob", C::Globular, "glob");
    b.Link(glob, glob);
    b.At(glob).start = b.At(glob).end = true;

    // Loops, one set per side. a1, a2 follow a helix (a loop has at least two
    // residues), anear and bnear are the stretches next to helices where the
    // positive-inside bias lives, far is the loop's globular middle. pre-states
    // lead from the N-terminus to the first helix and may not end a path, so
    // that every membrane path has a helix and a protein without one is left
    // to the globular states.
    struct Side
    {
        int a1, a2, anear, far, bnear, preFar, preNear;
    };
    auto makeSide = [&](const std::string& side, C cls, const std::string& farEmission) {
        Side s{};
        s.a1 = b.State(side + "_a1", cls, side + "_near");
        s.a2 = b.State(side + "_a2", cls, side + "_near");
        s.anear = b.State(side + "_anear", cls, side + "_near");
        s.far = b.State(side + "_far", cls, farEmission);
        s.bnear = b.State(side + "_bnear", cls, side + "_near");
        s.preFar = b.State(side + "_prefar", cls, farEmission);
        s.preNear = b.State(side + "_prenear", cls, side + "_near");
        for (int st : {s.a1, s.a2, s.anear, s.far, s.bnear})
            b.At(st).end = true;
        b.At(s.preFar).start = b.At(s.preNear).start = true;
        return s;
    };
    // A loop's middle is as any protein's surface: the far stretches share the
    // tables of globular and secreted proteins, so that only helices and
    // their flanks decide between a membrane protein and a soluble one.
    const Side in = makeSide("in", C::Inside, "glob");
    const Side out = makeSide("out", C::Outside, "secreted");

    // Helices by direction: "io" crosses from inside to outside.
    struct HelixStates
    {
        int entry, exit;
    };
    auto makeHelix = [&](const std::string& dir) {
        std::vector<int> chain;
        for (int k = 1; k <= kCaps; ++k)
            chain.push_back(
                b.State(dir + "_c" + std::to_string(k), C::Helix, dir + "_c" + std::to_string(k)));
        const int coreMax = kTopologyHelixMax - 2 * kCaps;
        const int coreMin = kTopologyHelixMin - 2 * kCaps;
        std::vector<int> core;
        for (int k = 1; k <= coreMax; ++k)
            core.push_back(b.State(dir + "_k" + std::to_string(k), C::Helix, dir + "_core"));
        std::vector<int> caps;
        for (int k = 1; k <= kCaps; ++k)
            caps.push_back(
                b.State(dir + "_e" + std::to_string(k), C::Helix, dir + "_e" + std::to_string(k)));
        for (std::size_t k = 0; k + 1 < chain.size(); ++k)
            b.Link(chain[k], chain[k + 1]);
        b.Link(chain.back(), core.front());
        for (int k = 0; k < coreMax; ++k) {
            const auto uk = static_cast<std::size_t>(k);
            if (k + 1 < coreMax)
                b.Link(core[uk], core[uk + 1]);
            if (k + 1 >= coreMin)
                b.Link(core[uk], caps.front());
        }
        for (std::size_t k = 0; k + 1 < caps.size(); ++k)
            b.Link(caps[k], caps[k + 1]);
        return HelixStates{chain.front(), caps.back()};
    };
    const HelixStates io = makeHelix("io");
    const HelixStates oi = makeHelix("oi");

    auto linkSide = [&](const Side& s, const HelixStates& leaving) {
        b.Link(s.a1, s.a2);
        b.Link(s.a2, s.anear);
        b.Link(s.a2, leaving.entry);
        b.Link(s.anear, s.anear);
        b.Link(s.anear, s.far);
        b.Link(s.anear, leaving.entry);
        b.Link(s.far, s.far);
        b.Link(s.far, s.bnear);
        b.Link(s.bnear, s.bnear);
        b.Link(s.bnear, leaving.entry);
        b.Link(s.preFar, s.preFar);
        b.Link(s.preFar, s.preNear);
        b.Link(s.preNear, s.preNear);
        b.Link(s.preNear, leaving.entry);
    };
    linkSide(in, io);
    linkSide(out, oi);
    b.Link(io.exit, out.a1);
    b.Link(oi.exit, in.a1);

    // Signal peptide: n-region (its first residue apart: the initiator
    // methionine), a hydrophobic h-region, a polar c-region whose last three
    // residues (-3, -2, -1 from the cleavage site) have tables of their own
    // (the small residues of A-x-A). Each region is a chain with a longest
    // length (n 12, h 6 to 20, c 3 to 9), so that no signal peptide runs
    // past 41 residues and swallows a helix behind it. It leads to the mature
    // protein outside, or to an outside loop before a helix.
    constexpr int kNMost = 12, kHLeast = 6, kHMost = 20, kCMost = 6;
    const int n1 = b.State("sp_n1", C::Signal, "sp_n1");
    std::vector<int> n, h, c;
    for (int k = 2; k <= kNMost; ++k)
        n.push_back(b.State("sp_n" + std::to_string(k), C::Signal, "sp_n"));
    for (int k = 1; k <= kHMost; ++k)
        h.push_back(b.State("sp_h" + std::to_string(k), C::Signal, "sp_h"));
    for (int k = 1; k <= kCMost; ++k)
        c.push_back(b.State("sp_c" + std::to_string(k + 3), C::Signal, "sp_c"));
    const int c3 = b.State("sp_c3", C::Signal, "sp_c3");
    const int c2 = b.State("sp_c2", C::Signal, "sp_c2");
    const int c1 = b.State("sp_c1", C::Signal, "sp_c1");
    const int mature = b.State("secreted", C::Secreted, "secreted");
    b.At(n1).start = true;
    b.At(mature).end = true;
    b.Link(n1, n.front());
    b.Link(n1, h.front());
    for (std::size_t k = 0; k < n.size(); ++k) {
        if (k + 1 < n.size())
            b.Link(n[k], n[k + 1]);
        b.Link(n[k], h.front());
    }
    for (std::size_t k = 0; k < h.size(); ++k) {
        if (k + 1 < h.size())
            b.Link(h[k], h[k + 1]);
        if (k + 1 >= kHLeast) {
            b.Link(h[k], c.front());
            b.Link(h[k], c3);
        }
    }
    for (std::size_t k = 0; k < c.size(); ++k) {
        if (k + 1 < c.size())
            b.Link(c[k], c[k + 1]);
        b.Link(c[k], c3);
    }
    b.Link(c3, c2);
    b.Link(c2, c1);
    b.Link(c1, mature);
    b.Link(c1, out.preFar);
    b.Link(c1, out.preNear);
    b.Link(mature, mature);
    return b.arch;
}

bool ParseWeight(std::string_view text, double& value)
{
    const auto* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        const std::size_t from = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            ++i;
        if (i > from)
            fields.push_back(line.substr(from, i - from));
    }
    return fields;
}

std::string Shortest(double value)
{
    char buffer[32];
    // Seven digits: the weights are sums of many small steps, and the file
    // must give back the model it was written from within rounding.
    std::snprintf(buffer, sizeof buffer, "%.7g", value);
    if (std::string_view(buffer) == "-0")
        return "0";
    return buffer;
}

// GFF3 escapes of a column value: control characters, tab, newline, "%" and,
// in column 1, anything but letters, digits and .:^*$@!+_?-|.
std::string GffEscape(std::string_view text)
{
    std::string out;
    for (const char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                           (u >= '0' && u <= '9') ||
                           std::string_view(".:^*$@!+_?-|").find(ch) != std::string_view::npos;
        if (plain)
            out += ch;
        else {
            char buffer[4];
            std::snprintf(buffer, sizeof buffer, "%%%02X", u);
            out += buffer;
        }
    }
    return out;
}

} // namespace

char TopologyLabel(TopologyClass cls)
{
    switch (cls) {
    case TopologyClass::Globular:
    case TopologyClass::Inside:
        return kTopologyInside;
    case TopologyClass::Secreted:
    case TopologyClass::Outside:
        return kTopologyOutside;
    case TopologyClass::Helix:
        return kTopologyHelix;
    case TopologyClass::Signal:
        return kTopologySignal;
    }
    return kTopologyInside;
}

int TopologyArchitecture::StateIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < states.size(); ++i)
        if (states[i].name == name)
            return static_cast<int>(i);
    return -1;
}

int TopologyArchitecture::EmissionIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < emissions.size(); ++i)
        if (emissions[i] == name)
            return static_cast<int>(i);
    return -1;
}

const TopologyArchitecture& TopologyStates()
{
    static const TopologyArchitecture arch = BuildArchitecture();
    return arch;
}

std::optional<TopologyParameters> ParseTopologyParameters(std::string_view text, std::string* error)
{
    const TopologyArchitecture& arch = TopologyStates();
    TopologyParameters p;
    p.emissions.assign(arch.emissions.size(), {});
    p.transitions.resize(arch.states.size());
    p.start.assign(arch.states.size(), 0.0);
    std::vector<bool> haveEmission(arch.emissions.size(), false);
    std::vector<std::vector<bool>> haveTransition(arch.states.size());
    std::vector<bool> haveStart(arch.states.size(), false);
    for (std::size_t s = 0; s < arch.states.size(); ++s) {
        p.transitions[s].assign(arch.states[s].next.size(), 0.0);
        haveTransition[s].assign(arch.states[s].next.size(), false);
    }
    TopologyNetwork& net = p.network;
    bool haveNetwork = false;
    bool haveHidden = false;
    std::vector<bool> haveInput;
    std::array<bool, 20> haveLocal{};
    std::array<bool, kTopologyClassCount> haveOutput{};

    auto fail = [&](int line, const std::string& what) -> std::optional<TopologyParameters> {
        if (error)
            *error = (line > 0 ? "line " + std::to_string(line) + ": " : std::string()) + what;
        return std::nullopt;
    };
    auto parseInt = [](std::string_view field, int& value) {
        const auto r = std::from_chars(field.data(), field.data() + field.size(), value);
        return r.ec == std::errc() && r.ptr == field.data() + field.size();
    };
    auto parseWeights = [](const std::vector<std::string_view>& f, std::size_t from, double* out,
                           std::size_t count) {
        for (std::size_t k = 0; k < count; ++k)
            if (!ParseWeight(f[from + k], out[k]))
                return false;
        return true;
    };

    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto eol = text.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = text.size();
        const std::string_view line = text.substr(pos, eol - pos);
        pos = eol + 1;
        ++lineNumber;
        const auto f = Fields(line);
        if (f.empty() || f[0].front() == '#')
            continue;
        const auto hidden = static_cast<std::size_t>(net.hidden);
        if (f[0] == "emission") {
            if (f.size() != 22)
                return fail(lineNumber, "an emission needs a name and 20 weights");
            const int e = arch.EmissionIndex(f[1]);
            if (e < 0)
                return fail(lineNumber, "unknown emission " + std::string(f[1]));
            const auto ue = static_cast<std::size_t>(e);
            if (haveEmission[ue])
                return fail(lineNumber, "emission " + std::string(f[1]) + " given twice");
            haveEmission[ue] = true;
            if (!parseWeights(f, 2, p.emissions[ue].data(), 20))
                return fail(lineNumber, "not a weight");
        } else if (f[0] == "transition") {
            if (f.size() != 4)
                return fail(lineNumber, "a transition needs two states and a weight");
            const int from = arch.StateIndex(f[1]);
            const int to = arch.StateIndex(f[2]);
            if (from < 0 || to < 0)
                return fail(lineNumber, "unknown state");
            const auto& next = arch.states[static_cast<std::size_t>(from)].next;
            const auto it = std::find(next.begin(), next.end(), to);
            if (it == next.end())
                return fail(lineNumber, "no such transition");
            const auto k = static_cast<std::size_t>(it - next.begin());
            const auto uf = static_cast<std::size_t>(from);
            if (haveTransition[uf][k])
                return fail(lineNumber, "transition given twice");
            haveTransition[uf][k] = true;
            if (!ParseWeight(f[3], p.transitions[uf][k]))
                return fail(lineNumber, "not a weight: " + std::string(f[3]));
        } else if (f[0] == "start") {
            if (f.size() != 3)
                return fail(lineNumber, "a start needs a state and a weight");
            const int s = arch.StateIndex(f[1]);
            if (s < 0 || !arch.states[static_cast<std::size_t>(s)].start)
                return fail(lineNumber, "not a start state: " + std::string(f[1]));
            const auto us = static_cast<std::size_t>(s);
            if (haveStart[us])
                return fail(lineNumber, "start given twice");
            haveStart[us] = true;
            if (!ParseWeight(f[2], p.start[us]))
                return fail(lineNumber, "not a weight: " + std::string(f[2]));
        } else if (f[0] == "network") {
            // Bounds that keep a malformed file from asking for gigabytes.
            if (haveNetwork || f.size() != 6 || !parseInt(f[1], net.reach) ||
                !parseInt(f[2], net.hidden) || !ParseWeight(f[3], net.weight) ||
                !parseInt(f[4], net.context) || !ParseWeight(f[5], net.floor) || net.floor < 0 ||
                net.reach < 0 || net.reach > 50 || net.hidden < 1 || net.hidden > 256 ||
                net.context < 0 || net.context > 1000)
                return fail(lineNumber,
                            "a network needs its reach, hidden units, weight, context and floor");
            haveNetwork = true;
            const auto rows =
                static_cast<std::size_t>(2 * net.reach + 1) * TopologyNetwork::kSymbols;
            net.input.assign(rows * static_cast<std::size_t>(net.hidden), 0.0);
            net.hiddenBias.assign(static_cast<std::size_t>(net.hidden), 0.0);
            net.output.assign(static_cast<std::size_t>(kTopologyClassCount * net.hidden), 0.0);
            net.local.assign(static_cast<std::size_t>(20 * net.hidden), 0.0);
            haveInput.assign(rows, false);
        } else if (f[0] == "input") {
            int offset = 0;
            if (!haveNetwork || f.size() != 3 + hidden || !parseInt(f[1], offset) ||
                offset < -net.reach || offset > net.reach || f[2].size() != 1)
                return fail(lineNumber, "an input needs an offset, a symbol and its weights");
            const int symbol = f[2] == "-" ? kBeyondEnd : SymbolOf(f[2].front());
            if (symbol < 0)
                return fail(lineNumber, "not a symbol: " + std::string(f[2]));
            const auto row =
                static_cast<std::size_t>((offset + net.reach) * TopologyNetwork::kSymbols + symbol);
            if (haveInput[row])
                return fail(lineNumber, "input given twice");
            haveInput[row] = true;
            if (!parseWeights(f, 3, &net.input[row * hidden], hidden))
                return fail(lineNumber, "not a weight");
        } else if (f[0] == "local") {
            const int residue = f.size() > 1 && f[1].size() == 1 ? SymbolOf(f[1].front()) : -1;
            if (!haveNetwork || f.size() != 2 + hidden || residue < 0)
                return fail(lineNumber, "a composition input needs a residue and its weights");
            const auto r = static_cast<std::size_t>(residue);
            if (haveLocal[r])
                return fail(lineNumber, "composition input given twice");
            haveLocal[r] = true;
            if (!parseWeights(f, 2, &net.local[r * hidden], hidden))
                return fail(lineNumber, "not a weight");
        } else if (f[0] == "hidden") {
            if (!haveNetwork || haveHidden || f.size() != 1 + hidden ||
                !parseWeights(f, 1, net.hiddenBias.data(), hidden))
                return fail(lineNumber, "hidden needs one weight per unit, once");
            haveHidden = true;
        } else if (f[0] == "output") {
            const auto it = std::find(kClassNames.begin(), kClassNames.end(),
                                      f.size() > 1 ? f[1] : std::string_view());
            if (!haveNetwork || f.size() != 4 + hidden || it == kClassNames.end())
                return fail(lineNumber, "an output needs a class, its prior, bias and weights");
            const auto c = static_cast<std::size_t>(it - kClassNames.begin());
            if (haveOutput[c])
                return fail(lineNumber, "output given twice");
            haveOutput[c] = true;
            if (!ParseWeight(f[2], net.logPrior[c]) || !ParseWeight(f[3], net.outputBias[c]) ||
                !parseWeights(f, 4, &net.output[c * hidden], hidden))
                return fail(lineNumber, "not a weight");
        } else
            return fail(lineNumber, "unknown keyword " + std::string(f[0]));
    }
    for (std::size_t e = 0; e < arch.emissions.size(); ++e)
        if (!haveEmission[e])
            return fail(0, "emission " + arch.emissions[e] + " missing");
    for (std::size_t s = 0; s < arch.states.size(); ++s) {
        for (std::size_t k = 0; k < haveTransition[s].size(); ++k)
            if (!haveTransition[s][k])
                return fail(0,
                            "transition " + arch.states[s].name + " " +
                                arch.states[static_cast<std::size_t>(arch.states[s].next[k])].name +
                                " missing");
        if (arch.states[s].start && !haveStart[s])
            return fail(0, "start " + arch.states[s].name + " missing");
    }
    if (haveNetwork) {
        if (!haveHidden ||
            std::find(haveInput.begin(), haveInput.end(), false) != haveInput.end() ||
            std::find(haveLocal.begin(), haveLocal.end(), false) != haveLocal.end())
            return fail(0, "network incomplete");
        for (const bool have : haveOutput)
            if (!have)
                return fail(0, "network output missing");
    }
    return p;
}

std::string TopologyParametersText(const TopologyParameters& p, std::string_view header)
{
    const TopologyArchitecture& arch = TopologyStates();
    std::string out;
    std::size_t pos = 0;
    while (pos < header.size()) {
        auto eol = header.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = header.size();
        out += "# ";
        out += header.substr(pos, eol - pos);
        out += '\n';
        pos = eol + 1;
    }
    out += "# emission NAME, then the log probabilities of";
    for (const char ch : kTopologyAlphabet)
        (out += ' ') += ch;
    out += '\n';
    for (std::size_t e = 0; e < arch.emissions.size(); ++e) {
        out += "emission " + arch.emissions[e];
        for (const double v : p.emissions[e])
            out += ' ' + Shortest(v);
        out += '\n';
    }
    for (std::size_t s = 0; s < arch.states.size(); ++s)
        if (arch.states[s].start)
            out += "start " + arch.states[s].name + ' ' + Shortest(p.start[s]) + '\n';
    for (std::size_t s = 0; s < arch.states.size(); ++s)
        for (std::size_t k = 0; k < arch.states[s].next.size(); ++k)
            out += "transition " + arch.states[s].name + ' ' +
                   arch.states[static_cast<std::size_t>(arch.states[s].next[k])].name + ' ' +
                   Shortest(p.transitions[s][k]) + '\n';
    const TopologyNetwork& net = p.network;
    if (net.hidden > 0) {
        const auto hidden = static_cast<std::size_t>(net.hidden);
        out += "network " + std::to_string(net.reach) + ' ' + std::to_string(net.hidden) + ' ' +
               Shortest(net.weight) + ' ' + std::to_string(net.context) + ' ' +
               Shortest(net.floor) + '\n';
        for (int offset = -net.reach; offset <= net.reach; ++offset)
            for (int symbol = 0; symbol < TopologyNetwork::kSymbols; ++symbol) {
                const auto row = static_cast<std::size_t>(
                    (offset + net.reach) * TopologyNetwork::kSymbols + symbol);
                out += "input " + std::to_string(offset) + ' ' +
                       (symbol == kBeyondEnd ? '-'
                                             : kTopologyAlphabet[static_cast<std::size_t>(symbol)]);
                for (std::size_t j = 0; j < hidden; ++j)
                    out += ' ' + Shortest(net.input[row * hidden + j]);
                out += '\n';
            }
        for (std::size_t r = 0; r < 20; ++r) {
            out += std::string("local ") + kTopologyAlphabet[r];
            for (std::size_t j = 0; j < hidden; ++j)
                out += ' ' + Shortest(net.local[r * hidden + j]);
            out += '\n';
        }
        out += "hidden";
        for (const double v : net.hiddenBias)
            out += ' ' + Shortest(v);
        out += '\n';
        for (std::size_t c = 0; c < kTopologyClassCount; ++c) {
            out += "output " + std::string(kClassNames[c]) + ' ' + Shortest(net.logPrior[c]) + ' ' +
                   Shortest(net.outputBias[c]);
            for (std::size_t j = 0; j < hidden; ++j)
                out += ' ' + Shortest(net.output[c * hidden + j]);
            out += '\n';
        }
    }
    return out;
}

const TopologyParameters& BuiltInTopologyParameters()
{
    static const TopologyParameters parameters = [] {
        std::string error;
        auto parsed = ParseTopologyParameters(kBuiltInTopologyText, &error);
        // The file is checked by the tests; a fault here is a build fault.
        assert(parsed);
        return parsed ? std::move(*parsed) : TopologyParameters{};
    }();
    return parameters;
}

TopologyModel::TopologyModel(const TopologyParameters& p) : m_network(p.network)
{
    const auto toFloat = [](const std::vector<double>& from) {
        return std::vector<float>(from.begin(), from.end());
    };
    m_input = toFloat(m_network.input);
    m_local = toFloat(m_network.local);
    m_hiddenBias = toFloat(m_network.hiddenBias);
    m_output = toFloat(m_network.output);
    for (std::size_t c = 0; c < kTopologyClassCount; ++c)
        m_classBias[c] = static_cast<float>(m_network.outputBias[c] - m_network.logPrior[c]);
    const TopologyArchitecture& arch = TopologyStates();
    m_states = static_cast<int>(arch.states.size());
    const auto count = arch.states.size();
    constexpr double kNever = -std::numeric_limits<double>::infinity();

    m_emission.assign(count * 21, 0.0);
    m_start.assign(count, kNever);
    m_end.assign(count, false);
    m_label.assign(count, kTopologyInside);
    m_stateClass.assign(count, 0);
    std::vector<std::vector<std::pair<int, double>>> preds(count);
    for (std::size_t s = 0; s < count; ++s) {
        const TopologyState& state = arch.states[s];
        const auto& table = p.emissions.at(static_cast<std::size_t>(state.emission));
        for (std::size_t r = 0; r < 20; ++r)
            m_emission[s * 21 + r + 1] = table[r];
        m_stateClass[s] = static_cast<int>(state.cls);
        if (state.start)
            m_start[s] = p.start.at(s);
        m_end[s] = state.end;
        m_label[s] = TopologyLabel(state.cls);
        for (std::size_t k = 0; k < state.next.size(); ++k)
            preds[static_cast<std::size_t>(state.next[k])].emplace_back(static_cast<int>(s),
                                                                        p.transitions.at(s).at(k));
    }

    // How late each state can be reached: states still reachable after more
    // steps than any chain of the model has are reachable at any time.
    const std::size_t kLongest = 4 * count;
    m_horizon.assign(count, 0);
    std::vector<bool> now(count), later(count);
    for (std::size_t s = 0; s < count; ++s)
        now[s] = arch.states[s].start;
    for (std::size_t t = 0; t <= kLongest; ++t) {
        std::fill(later.begin(), later.end(), false);
        for (std::size_t s = 0; s < count; ++s) {
            if (!now[s])
                continue;
            m_horizon[s] = t == kLongest ? SIZE_MAX : t;
            for (const int n : arch.states[s].next)
                later[static_cast<std::size_t>(n)] = true;
        }
        now.swap(later);
    }
    m_byHorizon.resize(count);
    for (std::size_t s = 0; s < count; ++s)
        m_byHorizon[s] = static_cast<int>(s);
    std::stable_sort(m_byHorizon.begin(), m_byHorizon.end(), [&](int a, int b) {
        return m_horizon[static_cast<std::size_t>(a)] > m_horizon[static_cast<std::size_t>(b)];
    });

    m_predBegin.push_back(0);
    for (const auto& list : preds) {
        for (const auto& [from, weight] : list) {
            m_pred.push_back(from);
            m_predWeight.push_back(weight);
        }
        m_predBegin.push_back(static_cast<int>(m_pred.size()));
    }
}

const TopologyModel& TopologyModel::BuiltIn()
{
    static const TopologyModel model(BuiltInTopologyParameters());
    return model;
}

std::vector<float> TopologyModel::NetworkScores(const std::vector<int>& symbols) const
{
    const TopologyNetwork& net = m_network;
    const std::size_t length = symbols.size();
    constexpr auto kClasses = static_cast<std::size_t>(kTopologyClassCount);
    std::vector<float> scores(length * kClasses, 0.0f);
    if (net.hidden == 0 || net.weight == 0.0)
        return scores;
    const auto hidden = static_cast<std::size_t>(net.hidden);
    const auto reach = static_cast<long>(net.reach);
    const auto context = static_cast<long>(net.context);
    const auto weight = static_cast<float>(net.weight);
    const auto floor = static_cast<float>(net.floor > 0.0 ? net.floor : 1e30);
    const float perContext = 1.0f / static_cast<float>(2 * context + 1);

    // The local composition slides: each residue adds its weights when it
    // comes within context of the centre and takes them away when it leaves.
    std::vector<float> local(hidden, 0.0f);
    auto slide = [&](long u, float sign) {
        if (u < 0 || u >= static_cast<long>(length))
            return;
        const int symbol = symbols[static_cast<std::size_t>(u)];
        if (symbol < 0)
            return;
        const float* w = &m_local[static_cast<std::size_t>(symbol) * hidden];
        for (std::size_t j = 0; j < hidden; ++j)
            local[j] += sign * w[j];
    };
    for (long u = 0; u < context; ++u)
        slide(u, 1.0f);
    std::vector<float> h(hidden);
    auto rowOf = [&](std::size_t t, long d) -> const float* {
        const long u = static_cast<long>(t) + d;
        const int symbol = u < 0 || u >= static_cast<long>(length)
                               ? kBeyondEnd
                               : symbols[static_cast<std::size_t>(u)];
        if (symbol < 0)
            return nullptr;
        return &m_input[(static_cast<std::size_t>(d + reach) * TopologyNetwork::kSymbols +
                         static_cast<std::size_t>(symbol)) *
                        hidden];
    };
    for (std::size_t t = 0; t < length; ++t) {
        slide(static_cast<long>(t) + context, 1.0f);
        slide(static_cast<long>(t) - context - 1, -1.0f);
        if (hidden == 32) {
            // The trained width: a fixed-size sum the compiler keeps in
            // registers across the window's rows.
            std::array<float, 32> sum;
            for (std::size_t j = 0; j < 32; ++j)
                sum[j] = m_hiddenBias[j] + local[j] * perContext;
            for (long d = -reach; d <= reach; ++d)
                if (const float* w = rowOf(t, d))
                    for (std::size_t j = 0; j < 32; ++j)
                        sum[j] += w[j];
            std::copy(sum.begin(), sum.end(), h.begin());
        } else {
            for (std::size_t j = 0; j < hidden; ++j)
                h[j] = m_hiddenBias[j] + local[j] * perContext;
            for (long d = -reach; d <= reach; ++d)
                if (const float* w = rowOf(t, d))
                    for (std::size_t j = 0; j < hidden; ++j)
                        h[j] += w[j];
        }
        for (float& v : h)
            v = FastTanh(v);
        std::array<float, kTopologyClassCount> z{};
        float top = -std::numeric_limits<float>::infinity();
        for (std::size_t c = 0; c < kClasses; ++c) {
            float v = m_classBias[c];
            const float* w = &m_output[c * hidden];
            for (std::size_t j = 0; j < hidden; ++j)
                v += w[j] * h[j];
            z[c] = v;
            top = std::max(top, v);
        }
        // Measured from the best class, a shift the same for every class:
        // only the floor changes what the decoder sees.
        for (std::size_t c = 0; c < kClasses; ++c)
            scores[t * kClasses + c] = weight * std::max(z[c] - top, -floor);
    }
    return scores;
}

std::vector<int> TopologyModel::Path(std::string_view sequence, const std::uint8_t* allowed,
                                     double penalty) const
{
    const std::size_t length = sequence.size();
    if (length == 0)
        return {};
    constexpr double kNever = -std::numeric_limits<double>::infinity();
    constexpr auto kClasses = static_cast<std::size_t>(kTopologyClassCount);
    const auto count = static_cast<std::size_t>(m_states);

    std::vector<int> symbols(length);
    for (std::size_t t = 0; t < length; ++t)
        symbols[t] = SymbolOf(sequence[t]);
    const std::vector<float> network = NetworkScores(symbols);

    // Each state has at most a few predecessors, so a back pointer is the
    // predecessor's place in its list and fits a byte.
    std::vector<std::uint8_t> back(length * count, 0);
    std::vector<double> score(count), next(count);
    // The emission of every state at residue t: its table's weight of the
    // residue plus the network's score of its class.
    std::vector<double> emission(count);
    auto emit = [&](std::size_t t) {
        const auto symbol = static_cast<std::size_t>(symbols[t] + 1);
        const float* classScore = &network[t * kClasses];
        for (std::size_t s = 0; s < count; ++s)
            emission[s] =
                m_emission[s * 21 + symbol] + static_cast<double>(classScore[m_stateClass[s]]);
        if (allowed)
            for (std::size_t s = 0; s < count; ++s)
                if (!(allowed[t] & (1u << static_cast<unsigned>(m_stateClass[s]))))
                    emission[s] -= penalty;
    };
    emit(0);
    for (std::size_t s = 0; s < count; ++s)
        score[s] = m_start[s] + emission[s];
    for (std::size_t t = 1; t < length; ++t) {
        emit(t);
        std::uint8_t* row = &back[t * count];
        for (const int state : m_byHorizon) {
            const auto s = static_cast<std::size_t>(state);
            if (m_horizon[s] < t) {
                // Out of reach from now on: both score rows must say so, and
                // after two steps they do.
                if (m_horizon[s] + 2 < t)
                    break;
                next[s] = kNever;
                continue;
            }
            const int from = m_predBegin[s];
            const int to = m_predBegin[s + 1];
            double best = kNever;
            int bestK = 0;
            for (int k = from; k < to; ++k) {
                const auto uk = static_cast<std::size_t>(k);
                const double v = score[static_cast<std::size_t>(m_pred[uk])] + m_predWeight[uk];
                if (v > best) {
                    best = v;
                    bestK = k - from;
                }
            }
            next[s] = best + emission[s];
            row[s] = static_cast<std::uint8_t>(bestK);
        }
        score.swap(next);
    }
    std::size_t last = 0;
    double best = kNever;
    for (std::size_t s = 0; s < count; ++s)
        if (m_end[s] && score[s] > best) {
            best = score[s];
            last = s;
        }
    if (best == kNever) {
        // Too short for any path that ends in a loop (a lone residue after a
        // signal peptide's start): take the best state of all.
        for (std::size_t s = 0; s < count; ++s)
            if (score[s] > best) {
                best = score[s];
                last = s;
            }
    }
    std::vector<int> path(length);
    std::size_t s = last;
    for (std::size_t t = length; t-- > 0;) {
        path[t] = static_cast<int>(s);
        if (t > 0)
            s = static_cast<std::size_t>(
                m_pred[static_cast<std::size_t>(m_predBegin[s] + back[t * count + s])]);
    }
    return path;
}

std::string TopologyModel::Labels(std::string_view sequence) const
{
    const auto path = Path(sequence);
    std::string labels(path.size(), kTopologyInside);
    for (std::size_t t = 0; t < path.size(); ++t)
        labels[t] = m_label[static_cast<std::size_t>(path[t])];
    return labels;
}

std::string PredictTopology(std::string_view sequence)
{
    return TopologyModel::BuiltIn().Labels(sequence);
}

std::vector<TopologySegment> TopologySegments(std::string_view labels)
{
    std::vector<TopologySegment> segments;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (segments.empty() || segments.back().label != labels[i])
            segments.push_back({labels[i], static_cast<int>(i) + 1, static_cast<int>(i) + 1});
        else
            segments.back().end = static_cast<int>(i) + 1;
    }
    return segments;
}

std::string TopologyRecordText(std::string_view name, std::string_view sequence,
                               std::string_view labels)
{
    std::string out;
    out.reserve(name.size() + sequence.size() + labels.size() + 4);
    out += '>';
    out += name;
    out += '\n';
    out += sequence;
    out += '\n';
    out += labels;
    out += '\n';
    return out;
}

std::string TopologyGffText(std::string_view name, std::string_view labels)
{
    const auto blank = name.find_first_of(" \t");
    const std::string seqid = GffEscape(name.substr(0, blank));
    const auto segments = TopologySegments(labels);
    auto side = [&](std::size_t k) -> std::string_view {
        if (k >= segments.size())
            return "";
        switch (segments[k].label) {
        case kTopologyInside:
            return "inside";
        case kTopologyOutside:
            return "outside";
        default:
            return "";
        }
    };
    std::string out;
    int helices = 0;
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const TopologySegment& seg = segments[k];
        std::string attributes;
        std::string_view type;
        if (seg.label == kTopologyHelix) {
            type = "transmembrane_helix";
            attributes = "ID=" + seqid + "_TM" + std::to_string(++helices);
            if (k > 0 && !side(k - 1).empty())
                (attributes += ";from=") += side(k - 1);
            if (!side(k + 1).empty())
                (attributes += ";to=") += side(k + 1);
        } else if (seg.label == kTopologySignal) {
            type = "signal_peptide";
            attributes = "ID=" + seqid + "_SP";
            if (!side(k + 1).empty())
                (attributes += ";to=") += side(k + 1);
        } else
            continue;
        out += seqid + "\tQuorin\t" + std::string(type) + '\t' + std::to_string(seg.start) + '\t' +
               std::to_string(seg.end) + "\t.\t.\t.\t" + attributes + '\n';
    }
    return out;
}

} // namespace quorin::analysis
