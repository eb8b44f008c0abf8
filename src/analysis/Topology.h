#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::analysis {

/// The residue labels of a membrane topology: inside (cytoplasmic) loop,
/// outside loop, transmembrane helix residue, signal peptide.
inline constexpr char kTopologyInside = 'i';
inline constexpr char kTopologyOutside = 'o';
inline constexpr char kTopologyHelix = 'H';
inline constexpr char kTopologySignal = 'S';

/// The shortest and longest transmembrane helix the model can predict.
inline constexpr int kTopologyHelixMin = 15;
inline constexpr int kTopologyHelixMax = 35;

/// The label a state of the model stands for. Globular proteins (no membrane
/// segment) and the mature part of secreted ones have states of their own, so
/// that the loops of membrane proteins learn their own composition (the
/// positive-inside rule) undiluted; they print as inside and outside.
enum class TopologyClass : std::uint8_t
{
    Globular,
    Secreted,
    Inside,
    Outside,
    Helix,
    Signal,
};
inline constexpr int kTopologyClassCount = 6;

/// The printed label of a class.
char TopologyLabel(TopologyClass cls);

/// One state of the hidden Markov model: its class, the emission table it
/// shares, the states it may go to, and whether a path may start or end in it.
struct TopologyState
{
    std::string name;
    TopologyClass cls = TopologyClass::Globular;
    int emission = 0;      ///< index into TopologyArchitecture::emissions
    std::vector<int> next; ///< successors, in the order of the parameter file
    bool start = false;
    bool end = false;
};

/// The fixed shape of the model: which states exist and how they connect. The
/// trained numbers live in TopologyParameters.
struct TopologyArchitecture
{
    std::vector<std::string> emissions; ///< names of the shared emission tables
    std::vector<TopologyState> states;

    int StateIndex(std::string_view name) const; ///< -1 when unknown
    int EmissionIndex(std::string_view name) const;
};

/// The model's shape (built once).
const TopologyArchitecture& TopologyStates();

/// The 20 residues in the order of every emission table.
inline constexpr std::string_view kTopologyAlphabet = "ACDEFGHIKLMNPQRSTVWY";

/// A small neural network that reads a window of residues around each
/// residue (a place beyond either end of the sequence is a 21st symbol) and
/// gives the probability of each class there: one hidden layer (tanh), a
/// softmax over the classes. Its log probability over the class's share of
/// the training residues (a scaled likelihood) is added, times weight, to
/// the emission of every state of that class, as hybrid HMM/network
/// predictors do. A window cannot tell a soluble protein from a loop: the
/// globular and secreted outputs are those of inside and outside.
struct TopologyNetwork
{
    static constexpr int kSymbols = 21;
    int reach = 0;  ///< residues either side of the centre
    int hidden = 0; ///< hidden units
    double weight = 0.0;
    /// The most a class's score may fall below the best class's at one
    /// residue (natural logs, before weight), bounding the network's say
    /// against the residues' own tables; 0: unbounded.
    double floor = 0.0;
    int context = 0; ///< residues either side of the centre in the local composition
    /// [((offset + reach) * kSymbols + symbol) * hidden + unit]
    std::vector<double> input;
    /// Beside the window, the network reads the composition around the
    /// residue: the count of each residue within context either side, over
    /// 2 context + 1; [residue * hidden + unit].
    std::vector<double> local;
    std::vector<double> hiddenBias; ///< [unit]
    std::vector<double> output;     ///< [class * hidden + unit]
    std::array<double, kTopologyClassCount> outputBias{};
    std::array<double, kTopologyClassCount> logPrior{};
};

/// The weights of the model, natural-log units: an emission table per shared
/// table name (the log probabilities of the 20 residues), one weight per
/// successor of each state, one start weight per start state (other states
/// hold 0 and are never started in), and the network.
struct TopologyParameters
{
    std::vector<std::array<double, 20>> emissions;
    std::vector<std::vector<double>> transitions;
    std::vector<double> start;
    TopologyNetwork network;
};

/// Reads the parameter text ("emission NAME w*20", "transition FROM TO w",
/// "start STATE w", "network REACH HIDDEN WEIGHT CONTEXT FLOOR" with its "input
/// OFFSET SYMBOL w*HIDDEN", "local RESIDUE w*HIDDEN", "hidden w*HIDDEN" and
/// "output CLASS PRIOR BIAS w*HIDDEN" lines, "#" comments; weights are finite numbers). Every part
/// of the architecture must be given once; on a fault, nothing and the fault in error (the line
/// number and what is wrong).
std::optional<TopologyParameters> ParseTopologyParameters(std::string_view text,
                                                          std::string* error = nullptr);

/// The parameter text of parameters, as ParseTopologyParameters reads it, with
/// header as leading "#" lines.
std::string TopologyParametersText(const TopologyParameters& parameters, std::string_view header);

/// The trained parameters compiled into the program.
const TopologyParameters& BuiltInTopologyParameters();

/// The model ready to decode: weights laid out for the decoder, the
/// predecessors of each state in flat arrays.
class TopologyModel
{
public:
    explicit TopologyModel(const TopologyParameters& parameters);

    /// The model of the built-in parameters.
    static const TopologyModel& BuiltIn();

    /// The path of states with the highest total weight (Viterbi), one state
    /// index a residue. With allowed (one class bit mask a residue, 1 <<
    /// class), a state whose class is not allowed at a residue costs penalty:
    /// training uses it to follow known labels without ever leaving no path
    /// at all. Letters other than the 20 residues (X, B, Z, U, O; lower case
    /// is taken as upper) weigh 0 in every table. Empty for an empty sequence.
    std::vector<int> Path(std::string_view sequence, const std::uint8_t* allowed = nullptr,
                          double penalty = 0.0) const;

    /// The labels of Path, one of i, o, H, S a residue.
    std::string Labels(std::string_view sequence) const;

private:
    /// The network's score of each class at each residue, [t * classes + c],
    /// up to a term that is the same for every class at a residue (and so
    /// moves no path): the softmax's normalisation is left out.
    std::vector<float> NetworkScores(const std::vector<int>& symbols) const;

    int m_states = 0;
    std::vector<double> m_emission; ///< [state * 21 + symbol + 1]; symbol -1 weighs 0
    std::vector<int> m_stateClass;
    std::vector<double> m_start; ///< -infinity for states a path may not start in
    std::vector<bool> m_end;
    std::vector<int> m_predBegin; ///< predecessors of s: m_pred[m_predBegin[s]..m_predBegin[s+1])
    std::vector<int> m_pred;
    std::vector<double> m_predWeight;
    std::vector<char> m_label;
    /// The states by the last residue index at which a path can be in them
    /// (the signal peptide's chain ends early), latest first; m_horizon[s]
    /// is that index (SIZE_MAX: any).
    std::vector<int> m_byHorizon;
    std::vector<std::size_t> m_horizon;
    TopologyNetwork m_network;
    // The network's weights in single precision, laid out as NetworkScores
    // reads them: single precision halves the memory traffic of the hottest
    // loop, and the scores need no more.
    std::vector<float> m_input;
    std::vector<float> m_local;
    std::vector<float> m_hiddenBias;
    std::vector<float> m_output;
    std::array<float, kTopologyClassCount> m_classBias{}; ///< output bias - log prior
};

/// The predicted labels of a sequence under the built-in model.
std::string PredictTopology(std::string_view sequence);

/// A run of one label: 1-based first and last residue, inclusive.
struct TopologySegment
{
    char label = 0;
    int start = 0;
    int end = 0;
    friend bool operator==(const TopologySegment&, const TopologySegment&) = default;
};

/// The runs of equal labels, in order.
std::vector<TopologySegment> TopologySegments(std::string_view labels);

/// The three lines of the command line for one record: ">" and name, the
/// sequence, the labels; each ends with LF.
std::string TopologyRecordText(std::string_view name, std::string_view sequence,
                               std::string_view labels);

/// The GFF3 lines of one record (no "##gff-version" line): one per
/// transmembrane helix and signal peptide, seqid the record's name up to its
/// first blank (escaped as GFF3 asks), source Quorin, 1-based inclusive, score
/// and strand ".", and as attributes an ID and the sides the helix joins
/// ("from=inside;to=outside"); a signal peptide names the side it leads to.
std::string TopologyGffText(std::string_view name, std::string_view labels);

} // namespace quorin::analysis
