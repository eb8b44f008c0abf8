// Trains the membrane topology model of src/analysis/Topology.h on labelled
// proteins, reports cross-validation over the splits, and writes the
// parameter file that the program compiles in.
//
//   train_topology DATA_DIR [OUT]
//
// DATA_DIR holds split_1.3line .. split_4.3line (three lines a record: ">"
// and the name, the sequence, one label a residue). The cross-validation
// trains on three splits and scores the fourth, four times; then the model is
// trained on all four and written to OUT (when given). The run is
// deterministic: the same data give the same file, byte for byte.
//
// Labels: H and h (helix, either orientation: the loops around it say which),
// 1 inside, 2 outside, S signal peptide. Proteins without a membrane segment
// are labelled 1 (or S then 2) throughout; their residues train the globular
// and secreted states, not the loops of membrane proteins. Beta barrels are
// not what the model predicts: their strands and loops train the globular
// and secreted states too, so that they are not cut into helices. U
// (unresolved) lets a residue be a loop or a helix (not a signal peptide: an
// unresolved N-terminus would teach long signal peptides) and keeps the
// protein a membrane protein.
//
// Training starts from a path that the labels give by rule (HeuristicPath),
// then runs Viterbi training that follows the labels: each round decodes
// every protein with the current model, every state whose class disagrees
// with a residue's label costing a large penalty, and counts emissions and
// transitions along the paths (plus pseudocounts). The labels fix the class of
// each residue; the rounds settle what they do not say (helix caps, the
// signal peptide's regions, near and far loop stretches). The mature part of
// secreted proteins then costs 3 (natural logs) more to enter: without it a
// first helix too often passes for a signal peptide. Last, the window network
// is trained (TrainNetwork) and its weight set.
//
// The defaults are the settings of the committed file; TOPOLOGY_ROUNDS,
// TOPOLOGY_GLOB, TOPOLOGY_SECRETED, TOPOLOGY_SP, TOPOLOGY_REACH,
// TOPOLOGY_HIDDEN, TOPOLOGY_CONTEXT, TOPOLOGY_NETWORK, TOPOLOGY_NET_EPOCHS,
// TOPOLOGY_NET_RATE and TOPOLOGY_FLOOR override them for experiments, and
// TOPOLOGY_DUMP=PATH writes every scored protein with its prediction.
//
// Cross-validation of the committed settings (split_1..4, the data README's
// scoring): helix precision 0.884, recall 0.905, F1 0.894; every helix right
// in 259 of 473 helical membrane proteins (54.8 %); no helix in 4574 of 4686
// proteins without a membrane segment (97.6 %).

#include "analysis/Topology.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

using namespace quorin::analysis;

namespace {

static int kRounds = std::getenv("TOPOLOGY_ROUNDS") ? std::atoi(std::getenv("TOPOLOGY_ROUNDS")) : 3;
constexpr double kPenalty = 30.0;
constexpr double kEmissionPseudo = 1.0;
constexpr double kTransitionPseudo = 0.5;

struct Protein
{
    std::string name;
    std::string sequence;
    std::string labels;
    std::vector<std::uint8_t> allowed;
    bool helical = false;
    bool beta = false;
    bool signal = false;
};

std::uint8_t Bit(TopologyClass c)
{
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(c));
}

void SetAllowed(Protein& p)
{
    using C = TopologyClass;
    p.helical = p.labels.find_first_of("Hh") != std::string::npos;
    p.beta = p.labels.find_first_of("Bb") != std::string::npos;
    p.signal = p.labels.find('S') != std::string::npos;
    p.allowed.resize(p.labels.size());
    for (std::size_t i = 0; i < p.labels.size(); ++i) {
        const char l = p.labels[i];
        std::uint8_t m = 0;
        if (l == 'S')
            m = Bit(C::Signal);
        else if (p.helical) {
            if (l == '1')
                m = Bit(C::Inside);
            else if (l == '2')
                m = Bit(C::Outside);
            else if (l == 'H' || l == 'h')
                m = Bit(C::Helix);
            else if (l == 'B' || l == 'b')
                m = Bit(C::Inside) | Bit(C::Outside);
            else
                m = Bit(C::Inside) | Bit(C::Outside) | Bit(C::Helix);
        } else if (p.beta)
            m = Bit(C::Globular) | Bit(C::Secreted);
        else if (l == '1')
            m = Bit(C::Globular);
        else if (l == '2')
            m = Bit(C::Secreted);
        else
            m = Bit(C::Globular) | Bit(C::Secreted) | Bit(C::Signal);
        p.allowed[i] = m;
    }
}

std::vector<Protein> ReadSplit(const std::string& path)
{
    std::ifstream in(path);
    if (!in) {
        std::cerr << "cannot read " << path << '\n';
        std::exit(1);
    }
    std::vector<Protein> proteins;
    std::string header, sequence, labels;
    while (std::getline(in, header) && std::getline(in, sequence) && std::getline(in, labels)) {
        if (header.empty() || header[0] != '>' || sequence.size() != labels.size()) {
            std::cerr << path << ": bad record " << header << '\n';
            std::exit(1);
        }
        Protein p;
        p.name = header.substr(1);
        p.sequence = sequence;
        p.labels = labels;
        SetAllowed(p);
        proteins.push_back(std::move(p));
    }
    return proteins;
}

int ResidueOf(char c)
{
    const auto pos = kTopologyAlphabet.find(c);
    return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

// A first path of states from the labels alone: helix caps and cores by
// position, loop stretches within ten residues of a helix as near, the rest
// far, a signal peptide cut into its regions by typical lengths. -1 where the
// labels do not say (U, helices outside the length bounds).
std::vector<int> HeuristicPath(const Protein& p)
{
    const TopologyArchitecture& arch = TopologyStates();
    auto st = [&](const std::string& name) {
        const int s = arch.StateIndex(name);
        if (s < 0) {
            std::cerr << "no state " << name << '\n';
            std::exit(1);
        }
        return s;
    };
    std::string labels = p.labels;
    for (char& c : labels)
        c = c == 'h' ? 'H' : (c == 'b' || c == 'B') ? (p.helical ? 'U' : '1') : c;
    std::vector<int> path(labels.size(), -1);
    const auto segs = TopologySegments(labels);
    bool afterSignal = false;
    for (std::size_t k = 0; k < segs.size(); ++k) {
        const auto& seg = segs[k];
        const int from = seg.start - 1;
        const int n = seg.end - seg.start + 1;
        auto set = [&](int offset, int state) {
            path[static_cast<std::size_t>(from + offset)] = state;
        };
        const char before = k > 0 ? segs[k - 1].label : 0;
        const char after = k + 1 < segs.size() ? segs[k + 1].label : 0;
        if (seg.label == 'S') {
            afterSignal = true;
            if (n < 10)
                continue;
            set(0, st("sp_n1"));
            const int nLen = n >= 16 ? 4 : 0;
            for (int i = 1; i <= nLen; ++i)
                set(i, st("sp_n" + std::to_string(i + 1)));
            const int hFrom = 1 + nLen;
            const int rest = n - 3 - hFrom;
            const int cLen = std::clamp(rest - 6, 0, 3);
            for (int i = 0; i < rest - cLen && i < 20; ++i)
                set(hFrom + i, st("sp_h" + std::to_string(i + 1)));
            for (int i = 0; i < cLen; ++i)
                set(n - 3 - cLen + i, st("sp_c" + std::to_string(i + 4)));
            set(n - 3, st("sp_c3"));
            set(n - 2, st("sp_c2"));
            set(n - 1, st("sp_c1"));
        } else if (seg.label == 'H') {
            if (n < kTopologyHelixMin || n > kTopologyHelixMax)
                continue;
            const bool fromInside = before == '1' || (before != '2' && after == '2');
            const std::string dir = fromInside ? "io" : "oi";
            for (int i = 0; i < n; ++i) {
                std::string name;
                if (i < 4)
                    name = dir + "_c" + std::to_string(i + 1);
                else if (i >= n - 4)
                    name = dir + "_e" + std::to_string(i - (n - 4) + 1);
                else
                    name = dir + "_k" + std::to_string(i - 3);
                set(i, st(name));
            }
        } else if (p.helical && (seg.label == '1' || seg.label == '2')) {
            const std::string side = seg.label == '1' ? "in" : "out";
            const bool helixBefore = before == 'H';
            const bool helixAfter = after == 'H';
            for (int i = 0; i < n; ++i) {
                std::string name;
                if (!helixBefore)
                    name = helixAfter && i >= n - 10 ? "_prenear" : "_prefar";
                else if (i < 2)
                    name = i == 0 ? "_a1" : "_a2";
                else if (helixAfter && n <= 20)
                    name = "_anear";
                else if (i < 10)
                    name = "_anear";
                else if (helixAfter && i >= n - 10)
                    name = "_bnear";
                else
                    name = "_far";
                set(i, st(side + name));
            }
        } else if (!p.helical && (seg.label == '1' || seg.label == '2')) {
            for (int i = 0; i < n; ++i)
                set(i, st(afterSignal || seg.label == '2' ? "secreted" : "glob"));
        }
    }
    return path;
}

// Probabilities from counts along paths (a state -1 adds nothing), each
// count plus its pseudocount.
TopologyParameters CountPaths(const std::vector<const Protein*>& proteins,
                              const std::vector<std::vector<int>>& paths)
{
    const TopologyArchitecture& arch = TopologyStates();
    std::vector<std::array<double, 20>> emit(arch.emissions.size());
    for (auto& row : emit)
        row.fill(kEmissionPseudo);
    std::vector<std::vector<double>> trans;
    std::vector<double> start(arch.states.size(), 0.0);
    for (std::size_t s = 0; s < arch.states.size(); ++s) {
        trans.emplace_back(arch.states[s].next.size(), kTransitionPseudo);
        if (arch.states[s].start)
            start[s] = 1.0;
    }
    for (std::size_t i = 0; i < proteins.size(); ++i) {
        const Protein* p = proteins[i];
        const auto& path = paths[i];
        if (!path.empty() && path.front() >= 0 &&
            arch.states[static_cast<std::size_t>(path.front())].start)
            start[static_cast<std::size_t>(path.front())] += 1;
        for (std::size_t t = 0; t < path.size(); ++t) {
            if (path[t] < 0)
                continue;
            const auto s = static_cast<std::size_t>(path[t]);
            const int r = ResidueOf(p->sequence[t]);
            if (r >= 0)
                emit[static_cast<std::size_t>(arch.states[s].emission)]
                    [static_cast<std::size_t>(r)] += 1;
            if (t + 1 < path.size() && path[t + 1] >= 0) {
                const auto& next = arch.states[s].next;
                const auto it = std::find(next.begin(), next.end(), path[t + 1]);
                if (it != next.end())
                    trans[s][static_cast<std::size_t>(it - next.begin())] += 1;
            }
        }
    }
    TopologyParameters params;
    for (auto& row : emit) {
        double total = 0;
        for (double v : row)
            total += v;
        std::array<double, 20> table{};
        for (std::size_t r = 0; r < 20; ++r)
            table[r] = std::log(row[r] / total);
        params.emissions.push_back(table);
    }
    for (auto& row : trans) {
        double total = 0;
        for (double v : row)
            total += v;
        for (double& v : row)
            v = std::log(v / total);
        params.transitions.push_back(row);
    }
    double total = 0;
    for (double v : start)
        total += v;
    for (double& v : start)
        v = v > 0 ? std::log(v / total) : 0.0;
    params.start = start;
    return params;
}

TopologyParameters InitialParameters(const std::vector<const Protein*>& train)
{
    std::vector<std::vector<int>> paths;
    for (const Protein* p : train)
        paths.push_back(HeuristicPath(*p));
    return CountPaths(train, paths);
}

TopologyParameters Reestimate(const std::vector<const Protein*>& train,
                              const TopologyParameters& current)
{
    const TopologyModel model(current);
    std::vector<std::vector<int>> paths;
    for (const Protein* p : train)
        paths.push_back(model.Path(p->sequence, p->allowed.data(), kPenalty));
    return CountPaths(train, paths);
}

double EnvOr(const char* name, double fallback)
{
    const char* v = std::getenv(name);
    return v ? std::atof(v) : fallback;
}

// Counts make a generative model; what decides a prediction is how the
// globular path compares with the membrane ones. Before the discriminative
// rounds the globular start is moved by this much (natural logs).
double GlobularBias()
{
    return EnvOr("TOPOLOGY_GLOB", 0.0);
}

// A deterministic generator for the network's first weights.
class Lcg
{
public:
    double Uniform()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(m_state >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t m_state = 20240527;
};

// The class the network learns for a residue of class c: globular residues
// count as inside, the mature parts of secreted proteins as outside.
int Merged(int c)
{
    if (c == static_cast<int>(TopologyClass::Globular))
        return static_cast<int>(TopologyClass::Inside);
    if (c == static_cast<int>(TopologyClass::Secreted))
        return static_cast<int>(TopologyClass::Outside);
    return c;
}

struct Sample
{
    const Protein* protein;
    int position;
    int cls;
};

int SymbolAt(const Protein& p, long u)
{
    if (u < 0 || u >= static_cast<long>(p.sequence.size()))
        return TopologyNetwork::kSymbols - 1;
    return ResidueOf(p.sequence[static_cast<std::size_t>(u)]);
}

// The network: trained by stochastic gradient descent on the cross-entropy
// of the residues whose class the labels fix. Globular residues are three
// quarters of the data and alike; every fourth is kept. The class shares of
// the kept residues are the priors that turn the network's probabilities
// into scaled likelihoods.
TopologyNetwork TrainNetwork(const std::vector<const Protein*>& train)
{
    TopologyNetwork net;
    net.reach = static_cast<int>(EnvOr("TOPOLOGY_REACH", 12));
    net.hidden = static_cast<int>(EnvOr("TOPOLOGY_HIDDEN", 32));
    net.weight = EnvOr("TOPOLOGY_NETWORK", 0.05);
    net.context = static_cast<int>(EnvOr("TOPOLOGY_CONTEXT", 30));
    net.floor = EnvOr("TOPOLOGY_FLOOR", 0.0);
    const int epochs = static_cast<int>(EnvOr("TOPOLOGY_NET_EPOCHS", 8));
    const auto hidden = static_cast<std::size_t>(net.hidden);
    const auto rows = static_cast<std::size_t>(2 * net.reach + 1) * TopologyNetwork::kSymbols;
    constexpr auto kClasses = static_cast<std::size_t>(kTopologyClassCount);

    std::vector<Sample> samples;
    std::array<double, kTopologyClassCount> counts{};
    long globular = 0;
    for (const Protein* p : train)
        for (std::size_t t = 0; t < p->sequence.size(); ++t)
            for (int c = 0; c < kTopologyClassCount; ++c)
                if (p->allowed[t] == (1u << static_cast<unsigned>(c))) {
                    if (c == static_cast<int>(TopologyClass::Globular) && globular++ % 4 != 0)
                        continue;
                    const int target = Merged(c);
                    samples.push_back({p, static_cast<int>(t), target});
                    counts[static_cast<std::size_t>(target)] += 1;
                }
    for (std::size_t c = 0; c < kClasses; ++c)
        net.logPrior[c] = std::log(std::max(counts[c], 1.0) / static_cast<double>(samples.size()));

    Lcg random;
    const double inputScale = 1.0 / std::sqrt(2.0 * net.reach + 1.0);
    net.input.resize(rows * hidden);
    for (double& v : net.input)
        v = (random.Uniform() * 2 - 1) * inputScale;
    net.hiddenBias.assign(hidden, 0.0);
    net.local.resize(20 * hidden);
    for (double& v : net.local)
        v = (random.Uniform() * 2 - 1);
    net.output.resize(kClasses * hidden);
    for (double& v : net.output)
        v = (random.Uniform() * 2 - 1) / std::sqrt(static_cast<double>(hidden));
    for (std::size_t c = 0; c < kClasses; ++c)
        net.outputBias[c] = net.logPrior[c];

    const std::size_t n = samples.size();
    std::size_t stride = 104729;
    while (std::gcd(n, stride) != 1)
        --stride;
    std::vector<double> h(hidden), dh(hidden);
    std::vector<std::size_t> active(static_cast<std::size_t>(2 * net.reach + 1));
    double rate = EnvOr("TOPOLOGY_NET_RATE", 0.02);
    for (int epoch = 0; epoch < epochs; ++epoch) {
        double loss = 0;
        for (std::size_t i = 0, j = epoch * 7919 % n; i < n; ++i, j = (j + stride) % n) {
            const Sample& sample = samples[j];
            std::size_t used = 0;
            for (int d = -net.reach; d <= net.reach; ++d) {
                const int symbol = SymbolAt(*sample.protein, sample.position + d);
                if (symbol >= 0)
                    active[used++] = static_cast<std::size_t>(
                        (d + net.reach) * TopologyNetwork::kSymbols + symbol);
            }
            const Protein& pr = *sample.protein;
            const long len = static_cast<long>(pr.sequence.size());
            std::array<double, 20> local{};
            for (long u = std::max(0L, sample.position - long{net.context});
                 u <= std::min(len - 1, sample.position + long{net.context}); ++u) {
                const int r = ResidueOf(pr.sequence[static_cast<std::size_t>(u)]);
                if (r >= 0)
                    local[static_cast<std::size_t>(r)] += 1.0 / (2.0 * net.context + 1.0);
            }
            std::copy(net.hiddenBias.begin(), net.hiddenBias.end(), h.begin());
            for (std::size_t r = 0; r < 20; ++r)
                for (std::size_t u = 0; u < hidden; ++u)
                    h[u] += net.local[r * hidden + u] * local[r];
            for (std::size_t a = 0; a < used; ++a)
                for (std::size_t u = 0; u < hidden; ++u)
                    h[u] += net.input[active[a] * hidden + u];
            for (double& v : h)
                v = std::tanh(v);
            std::array<double, kTopologyClassCount> z{};
            double top = -1e300;
            for (std::size_t c = 0; c < kClasses; ++c) {
                double v = net.outputBias[c];
                for (std::size_t u = 0; u < hidden; ++u)
                    v += net.output[c * hidden + u] * h[u];
                z[c] = v;
                top = std::max(top, v);
            }
            double sum = 0;
            for (double& v : z)
                sum += (v = std::exp(v - top));
            std::fill(dh.begin(), dh.end(), 0.0);
            for (std::size_t c = 0; c < kClasses; ++c) {
                const double prob = z[c] / sum;
                const double dz = prob - (static_cast<int>(c) == sample.cls ? 1.0 : 0.0);
                if (static_cast<int>(c) == sample.cls)
                    loss -= std::log(std::max(prob, 1e-12));
                for (std::size_t u = 0; u < hidden; ++u) {
                    dh[u] += dz * net.output[c * hidden + u];
                    net.output[c * hidden + u] -= rate * dz * h[u];
                }
                net.outputBias[c] -= rate * dz;
            }
            for (std::size_t u = 0; u < hidden; ++u) {
                const double da = dh[u] * (1 - h[u] * h[u]);
                net.hiddenBias[u] -= rate * da;
                for (std::size_t r = 0; r < 20; ++r)
                    net.local[r * hidden + u] -= rate * da * local[r];
                for (std::size_t a = 0; a < used; ++a)
                    net.input[active[a] * hidden + u] -= rate * da;
            }
        }
        std::fprintf(stderr, "  network epoch %d: loss %.4f\n", epoch + 1,
                     loss / static_cast<double>(n));
        rate *= 0.7;
    }
    // The globular and secreted states read the network's inside and outside
    // outputs: a window cannot tell a soluble protein from a loop.
    for (const auto& [from, to] : {std::pair{TopologyClass::Inside, TopologyClass::Globular},
                                   std::pair{TopologyClass::Outside, TopologyClass::Secreted}}) {
        const auto f = static_cast<std::size_t>(from), t = static_cast<std::size_t>(to);
        std::copy_n(&net.output[f * hidden], hidden, &net.output[t * hidden]);
        net.outputBias[t] = net.outputBias[f];
        net.logPrior[t] = net.logPrior[f];
    }
    return net;
}

TopologyParameters Train(const std::vector<const Protein*>& train)
{
    TopologyParameters params = InitialParameters(train);
    for (int round = 0; round < kRounds; ++round)
        params = Reestimate(train, params);
    const TopologyArchitecture& arch = TopologyStates();
    params.start[static_cast<std::size_t>(arch.StateIndex("glob"))] -= GlobularBias();
    {
        const auto c1 = static_cast<std::size_t>(arch.StateIndex("sp_c1"));
        const auto& next = arch.states[c1].next;
        for (std::size_t k = 0; k < next.size(); ++k)
            if (next[k] == arch.StateIndex("secreted"))
                params.transitions[c1][k] -= EnvOr("TOPOLOGY_SECRETED", 3.0);
        params.start[static_cast<std::size_t>(arch.StateIndex("sp_n1"))] -=
            EnvOr("TOPOLOGY_SP", 0.0);
    }
    params.network = TrainNetwork(train);
    return params;
}

struct Score
{
    long truth = 0, predicted = 0, matched = 0;
    long helical = 0, helicalAllRight = 0;
    long plain = 0, plainNoHelix = 0;
    long signals = 0, signalsFound = 0, noSignal = 0, noSignalClean = 0;

    void Add(const Score& o)
    {
        truth += o.truth;
        predicted += o.predicted;
        matched += o.matched;
        helical += o.helical;
        helicalAllRight += o.helicalAllRight;
        plain += o.plain;
        plainNoHelix += o.plainNoHelix;
        signals += o.signals;
        signalsFound += o.signalsFound;
        noSignal += o.noSignal;
        noSignalClean += o.noSignalClean;
    }
    double Precision() const { return predicted ? double(matched) / double(predicted) : 0; }
    double Recall() const { return truth ? double(matched) / double(truth) : 0; }
    double F1() const
    {
        const double p = Precision(), r = Recall();
        return p + r > 0 ? 2 * p * r / (p + r) : 0;
    }
};

std::vector<std::pair<int, int>> Helices(const std::string& labels, bool truth)
{
    std::vector<std::pair<int, int>> out;
    for (const auto& seg : TopologySegments(labels))
        if (seg.label == 'H' || (truth && seg.label == 'h'))
            out.emplace_back(seg.start, seg.end);
    return out;
}

// The scoring of the data's README: a predicted helix matches a true one when
// they overlap by at least five residues, each true helix matched once.
Score ScoreProtein(const Protein& p, const std::string& predicted)
{
    Score s;
    const auto truth = Helices(p.labels, true);
    const auto pred = Helices(predicted, false);
    std::vector<bool> used(pred.size(), false);
    int matched = 0;
    for (const auto& [ts, te] : truth)
        for (std::size_t k = 0; k < pred.size(); ++k) {
            const int overlap = std::min(te, pred[k].second) - std::max(ts, pred[k].first) + 1;
            if (!used[k] && overlap >= 5) {
                used[k] = true;
                ++matched;
                break;
            }
        }
    s.truth = static_cast<long>(truth.size());
    s.predicted = static_cast<long>(pred.size());
    s.matched = matched;
    if (p.helical) {
        s.helical = 1;
        s.helicalAllRight =
            (matched == static_cast<int>(truth.size()) && pred.size() == truth.size());
    } else if (!p.beta) {
        s.plain = 1;
        s.plainNoHelix = pred.empty();
    }
    const bool predictedSignal = !predicted.empty() && predicted.front() == 'S';
    if (p.signal) {
        s.signals = 1;
        s.signalsFound = predictedSignal;
    } else {
        s.noSignal = 1;
        s.noSignalClean = !predictedSignal;
    }
    return s;
}

void Print(const char* title, const Score& s)
{
    std::printf("%-8s helix P %.3f R %.3f F1 %.3f | all helices right %ld/%ld (%.1f %%) | "
                "no helix in non-membrane %ld/%ld (%.1f %%) | SP found %ld/%ld, "
                "no false SP %ld/%ld\n",
                title, s.Precision(), s.Recall(), s.F1(), s.helicalAllRight, s.helical,
                100.0 * double(s.helicalAllRight) / double(std::max(1L, s.helical)), s.plainNoHelix,
                s.plain, 100.0 * double(s.plainNoHelix) / double(std::max(1L, s.plain)),
                s.signalsFound, s.signals, s.noSignalClean, s.noSignal);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: train_topology DATA_DIR [OUT]\n";
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<std::vector<Protein>> splits;
    for (int k = 1; k <= 4; ++k)
        splits.push_back(ReadSplit(dir + "/split_" + std::to_string(k) + ".3line"));

    // TOPOLOGY_DUMP=PATH writes every scored protein with its prediction.
    std::ofstream dump;
    if (const char* path = std::getenv("TOPOLOGY_DUMP"))
        dump.open(path);
    Score total;
    for (std::size_t test = 0; test < splits.size(); ++test) {
        std::vector<const Protein*> train;
        for (std::size_t k = 0; k < splits.size(); ++k)
            if (k != test)
                for (const auto& p : splits[k])
                    train.push_back(&p);
        const TopologyModel model(Train(train));
        Score fold;
        for (const auto& p : splits[test]) {
            const std::string predicted = model.Labels(p.sequence);
            fold.Add(ScoreProtein(p, predicted));
            if (dump)
                dump << '>' << p.name << '\n'
                     << p.sequence << '\n'
                     << p.labels << '\n'
                     << predicted << '\n';
        }
        Print(("split " + std::to_string(test + 1)).c_str(), fold);
        total.Add(fold);
    }
    Print("CV", total);

    if (argc == 3) {
        std::vector<const Protein*> all;
        for (const auto& split : splits)
            for (const auto& p : split)
                all.push_back(&p);
        const std::string text = TopologyParametersText(
            Train(all), "Membrane topology model: trained by tools/train_topology on\n"
                        "split_1..4 of the topology training data; do not edit by hand.");
        std::ofstream out(argv[2], std::ios::binary);
        out << text;
        if (!out) {
            std::cerr << "cannot write " << argv[2] << '\n';
            return 1;
        }
    }
    return 0;
}
