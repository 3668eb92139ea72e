#include "FaultInjector.h"

#include "protocol/Frame.h"

#include <algorithm>

namespace tc8sim {

bool FaultInjector::Chance(int percent) {
    return percent > 0 && Between(0, 99) < percent;
}

int FaultInjector::Between(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
}

QByteArray FaultInjector::Corrupt(QByteArray reply) {
    const int at = reply.size() >= 4 ? Between(3, static_cast<int>(reply.size()) - 1) : 0;
    char changed;
    do
        changed = static_cast<char>(reply.at(at) ^ Between(1, 255));
    while (changed == ResponseMarker || changed == RequestMarker);
    reply[at] = changed;
    return reply;
}

void FaultInjector::Split(const QByteArray& bytes, std::vector<OutputPiece>& pieces,
                          int& pieceCount) {
    if (bytes.size() < 2) {
        pieces.push_back({bytes, {}});
        return;
    }
    const int wanted = bytes.size() >= 3 ? Between(2, 3) : 2;
    std::vector<int> cuts{0};
    while (static_cast<int>(cuts.size()) < wanted) {
        const int cut = Between(1, static_cast<int>(bytes.size()) - 1);
        if (std::find(cuts.begin(), cuts.end(), cut) == cuts.end())
            cuts.push_back(cut);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.push_back(static_cast<int>(bytes.size()));
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const std::chrono::milliseconds pause(i == 0 ? 0 : Between(5, 30));
        pieces.push_back({bytes.mid(cuts[i], cuts[i + 1] - cuts[i]), pause});
    }
    pieceCount = wanted;
}

FaultedOutput FaultInjector::Apply(const std::vector<QByteArray>& replies,
                                   const FaultOptions& options) {
    FaultedOutput output;
    output.Fates.resize(replies.size());
    std::vector<std::pair<QByteArray, std::size_t>> kept; // bytes and reply index
    for (std::size_t i = 0; i < replies.size(); ++i) {
        const bool dropNext = output.DropNextUsed < options.DropNext;
        output.DropNextUsed += dropNext;
        if (dropNext || Chance(options.DropPercent)) {
            output.Fates[i].Dropped = true;
            continue;
        }
        QByteArray bytes = replies[i];
        const bool corruptNext = output.CorruptNextUsed < options.CorruptNext;
        output.CorruptNextUsed += corruptNext;
        if (corruptNext || Chance(options.CorruptPercent)) {
            bytes = Corrupt(bytes);
            output.Fates[i].Corrupted = true;
        }
        kept.emplace_back(bytes, i);
    }
    if (!kept.empty() && !options.PrefixNext.isEmpty()) {
        kept.front().first.prepend(options.PrefixNext);
        output.Fates[kept.front().second].PrefixBytes = static_cast<int>(options.PrefixNext.size());
        output.PrefixUsed = true;
    }
    for (std::size_t k = 0; k < kept.size(); ++k) {
        QByteArray piece = kept[k].first;
        std::size_t last = kept[k].second;
        if (options.Glue && k + 1 < kept.size()) {
            output.Fates[last].GluedToNext = true;
            ++k;
            piece.append(kept[k].first);
            last = kept[k].second;
        }
        if (options.Split)
            Split(piece, output.Pieces, output.Fates[last].Pieces);
        else
            output.Pieces.push_back({piece, {}});
    }
    return output;
}

} // namespace tc8sim
