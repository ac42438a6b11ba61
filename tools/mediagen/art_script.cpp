#include "art_script.h"

#include <cmath>
#include <map>

#include "script_reader.h"

namespace {

constexpr double kTwoPi = 6.28318530717958647692;

// A number that may change over a sequence: "4", "0..16" (loops: the end value is the next frame
// after the last), "0..=16" (ends exactly on it), "0..>16" (the same, easing out), "0~1" (there and back).
struct Value {
    enum Kind { Constant, Loop, Span, EaseOut, Wave } kind = Constant;
    double from = 0, to = 0;

    double at(int frame, int frames) const {
        double loopT = double(frame) / frames;
        double spanT = frames > 1 ? double(frame) / (frames - 1) : 0;
        switch (kind) {
            case Loop: return from + (to - from) * loopT;
            case Span: return from + (to - from) * spanT;
            case EaseOut: return from + (to - from) * (1 - (1 - spanT) * (1 - spanT));
            case Wave: return from + (to - from) * (1 - std::cos(kTwoPi * loopT)) / 2;
            default: return from;
        }
    }
};

Value ParseValue(const ScriptLine& line, const std::string& text) {
    struct Form { const char* mark; Value::Kind kind; };
    static const Form forms[] = {{"..=", Value::Span}, {"..>", Value::EaseOut}, {"..", Value::Loop}, {"~", Value::Wave}};
    for (const Form& form : forms) {
        size_t at = text.find(form.mark, 1);
        if (at == std::string::npos) continue;
        std::string mark = form.mark;
        return Value{form.kind, ParseNumber(line, text.substr(0, at)), ParseNumber(line, text.substr(at + mark.size()))};
    }
    double value = ParseNumber(line, text);
    return Value{Value::Constant, value, value};
}

struct Op {
    std::string name;
    std::vector<Value> values;
    std::vector<int> colours, colours2;
    std::string tile;
};

struct Layer {
    const ScriptLine* line = nullptr;
    std::string sourceKind;  // "tiles" (a flipbook of one or more tiles), "fill", "gradient", "pattern"
    std::vector<std::string> names;
    std::vector<int> colours;
    std::vector<Op> ops;
};

struct Sequence {
    int frames = 1;
    std::vector<Layer> layers;
};

struct ArtSource {
    const Palette* palette = nullptr;
    int frameWidth = 16, frameHeight = 16;
    std::map<std::string, Grid> tiles;
    std::vector<Sequence> sequences;
};

std::vector<int> ParseColours(const ScriptLine& line, const Palette& palette, const std::string& letters) {
    std::vector<int> colours;
    for (char letter : letters) {
        int index = palette.index_of(letter);
        if (index == -2) line.fail(std::string("letter '") + letter + "' is not in the palette");
        colours.push_back(index);
    }
    return colours;
}

const std::map<std::string, int>& OpArgumentCounts() {
    static const std::map<std::string, int> counts = {
        {"shift", 2}, {"wrap", 2},     {"rotate", 1}, {"scale", 1}, {"turn", 1}, {"flip", 0},    {"flipv", 0},
        {"dissolve", 1}, {"crumble", 1}, {"tint", 2}, {"cycle", 2}, {"ramp", 2}, {"swap", 2}, {"clip", 1},    {"outline", 1},
        {"zoom", 1},   {"at", 2},    {"box", 4},      {"loops", 1}};
    return counts;
}

Op ParseOp(const ScriptLine& line, const Palette& palette, size_t& i) {
    Op op;
    op.name = line.words[i];
    auto count = OpArgumentCounts().find(op.name);
    if (count == OpArgumentCounts().end()) line.fail("unknown transformation '" + op.name + "'");
    if (i + size_t(count->second) >= line.words.size()) line.fail("'" + op.name + "' needs " + std::to_string(count->second) + " argument(s)");
    const auto& w = line.words;
    if (op.name == "tint") {
        op.colours = ParseColours(line, palette, w[i + 1]);
        op.values.push_back(ParseValue(line, w[i + 2]));
    } else if (op.name == "cycle" || op.name == "ramp") {
        op.colours = ParseColours(line, palette, w[i + 1]);
        op.values.push_back(ParseValue(line, w[i + 2]));
    } else if (op.name == "swap") {
        op.colours = ParseColours(line, palette, w[i + 1]);
        op.colours2 = ParseColours(line, palette, w[i + 2]);
        if (op.colours.size() != op.colours2.size()) line.fail("'swap' needs two letter lists of the same length");
    } else if (op.name == "clip") {
        op.tile = w[i + 1];
    } else if (op.name == "outline") {
        op.colours = ParseColours(line, palette, w[i + 1]);
    } else {
        for (int k = 1; k <= count->second; ++k) op.values.push_back(ParseValue(line, w[i + size_t(k)]));
    }
    if ((op.name == "tint" || op.name == "outline") && op.colours.size() != 1) line.fail("'" + op.name + "' takes one letter");
    i += size_t(count->second) + 1;
    return op;
}

// Layers keep a pointer to their line (for messages); the lines outlive the compilation.
Layer ParseLayer(const ScriptLine& line, const Palette& palette, size_t first) {
    Layer layer;
    layer.line = &line;
    std::string source = line.word(first);
    size_t colon = source.find(':');
    if (colon != std::string::npos) {
        layer.sourceKind = source.substr(0, colon);
        std::string argument = source.substr(colon + 1);
        if (layer.sourceKind == "fill" || layer.sourceKind == "gradient") layer.colours = ParseColours(line, palette, argument);
        else if (layer.sourceKind == "pattern") layer.names.push_back(argument);
        else line.fail("unknown layer source '" + layer.sourceKind + ":' (fill:, gradient:, pattern:)");
        if (layer.colours.empty() && layer.names.empty()) line.fail("'" + source + "' names nothing");
    } else {
        layer.sourceKind = "tiles";
        for (size_t start = 0; start <= source.size();) {
            size_t comma = source.find(',', start);
            if (comma == std::string::npos) comma = source.size();
            layer.names.push_back(source.substr(start, comma - start));
            start = comma + 1;
        }
    }
    for (size_t i = first + 1; i < line.words.size();) layer.ops.push_back(ParseOp(line, palette, i));
    return layer;
}

const Grid& FindTile(const ArtSource& art, const ScriptLine& line, const std::string& name) {
    auto found = art.tiles.find(name);
    if (found == art.tiles.end()) line.fail("no tile named '" + name + "' is defined above this line");
    return found->second;
}

double OpValue(const Op& op, size_t k, int frame, int frames) { return op.values[k].at(frame, frames); }

Grid ApplyOp(const ArtSource& art, const Layer& layer, const Op& op, const Grid& g, int frame, int frames) {
    auto v = [&](size_t k) { return OpValue(op, k, frame, frames); };
    const std::string& n = op.name;
    if (n == "shift" || n == "wrap") return Shifted(g, v(0), v(1), n == "wrap");
    if (n == "rotate") return Rotated(g, v(0), 1);
    if (n == "scale") return Rotated(g, 0, v(0));
    if (n == "turn") return QuarterTurned(g, int(std::lround(v(0))));
    if (n == "zoom") return Zoomed(g, std::min(16, int(std::lround(v(0)))));
    if (n == "flip" || n == "flipv") return Flipped(g, n == "flip");
    if (n == "dissolve" || n == "crumble") return Dissolved(g, v(0), n == "dissolve");
    if (n == "tint") return Tinted(g, *art.palette, op.colours[0], v(0));
    if (n == "cycle") return Cycled(g, op.colours, int(std::floor(v(0))));
    if (n == "ramp") return Ramped(g, op.colours, int(std::floor(v(0) + 0.5)));
    if (n == "swap") return Swapped(g, op.colours, op.colours2);
    if (n == "clip") return Clipped(g, FindTile(art, *layer.line, op.tile));
    if (n == "outline") return Outlined(g, op.colours[0]);
    return g;  // placement ops: handled by the caller
}

const Op* FindOp(const Layer& layer, const char* name) {
    for (const Op& op : layer.ops)
        if (op.name == name) return &op;
    return nullptr;
}

Grid Gradient(int w, int h, const std::vector<int>& colours) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    Grid g(w, h);
    const int steps = int(colours.size()) - 1;
    for (int y = 0; y < h; ++y) {
        double position = h > 1 ? double(y) / (h - 1) * steps : 0;
        int lower = std::min(steps, int(position));
        double fraction = position - lower;
        for (int x = 0; x < w; ++x) {
            bool upper = (bayer[y & 3][x & 3] + 0.5) / 16 < fraction && lower < steps;
            g.at(x, y) = colours[size_t(lower + (upper ? 1 : 0))];
        }
    }
    return g;
}

Grid LayerSource(const ArtSource& art, const Layer& layer, int frame, int frames, int w, int h) {
    if (layer.sourceKind == "fill") return Grid(w, h, layer.colours[0]);
    if (layer.sourceKind == "gradient") return Gradient(w, h, layer.colours);
    if (layer.sourceKind == "pattern") {
        const Grid& tile = FindTile(art, *layer.line, layer.names[0]);
        Grid g(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) g.at(x, y) = tile.at(x % tile.width, y % tile.height);
        return g;
    }
    const Op* loops = FindOp(layer, "loops");
    double cycles = loops ? OpValue(*loops, 0, frame, frames) : 1;
    size_t count = layer.names.size();
    size_t pick = size_t(std::floor(double(frame) * cycles * count / frames)) % count;
    if (layer.names[pick] == "-") return Grid(art.frameWidth, art.frameHeight);
    return FindTile(art, *layer.line, layer.names[pick]);
}

void DrawLayer(const ArtSource& art, const Layer& layer, int frame, int frames, Grid& canvas) {
    const Op* box = FindOp(layer, "box");
    const Op* at = FindOp(layer, "at");
    int x = 0, y = 0, w = canvas.width, h = canvas.height;
    if (box) {
        x = int(OpValue(*box, 0, frame, frames)), y = int(OpValue(*box, 1, frame, frames));
        w = int(OpValue(*box, 2, frame, frames)), h = int(OpValue(*box, 3, frame, frames));
    }
    if (at) x = int(std::floor(OpValue(*at, 0, frame, frames))), y = int(std::floor(OpValue(*at, 1, frame, frames)));
    Grid g = LayerSource(art, layer, frame, frames, std::max(1, w), std::max(1, h));
    for (const Op& op : layer.ops) g = ApplyOp(art, layer, op, g, frame, frames);
    Composite(canvas, g, x, y);
}

Grid ReadTile(const std::vector<ScriptLine>& lines, size_t& i, const Palette& palette, int w, int h) {
    const ScriptLine& head = lines[i];
    Grid tile(w, h);
    for (int row = 0; row < h; ++row) {
        if (++i >= lines.size()) head.fail("tile '" + head.word(1) + "' ends after " + std::to_string(row) + " of " + std::to_string(h) + " rows");
        const ScriptLine& line = lines[i];
        const std::string& text = line.words[0];
        if (line.words.size() != 1 || int(text.size()) != w) line.fail("a row of tile '" + head.word(1) + "' is " + std::to_string(w) + " letters");
        std::vector<int> colours = ParseColours(line, palette, text);
        for (int x = 0; x < w; ++x) tile.at(x, row) = colours[size_t(x)];
    }
    return tile;
}

void ExpandIncludes(const std::string& path, std::vector<ScriptLine>& out, int depth) {
    if (depth > 8) throw ScriptError(path + ": includes nest too deeply (an include loop?)");
    std::string directory = path.substr(0, path.find_last_of('/') + 1);
    for (ScriptLine& line : ReadScript(path)) {
        if (line.words[0] == "include") ExpandIncludes(directory + line.word(1), out, depth + 1);
        else out.push_back(std::move(line));
    }
}

Grid RenderSequenceFrame(const ArtSource& art, const Sequence& sequence, int frame, int w, int h) {
    Grid canvas(w, h);
    for (const Layer& layer : sequence.layers) DrawLayer(art, layer, frame, sequence.frames, canvas);
    return canvas;
}

void ParseStatement(ArtSource& art, const std::vector<ScriptLine>& lines, size_t& i, Sequence*& open) {
    const ScriptLine& line = lines[i];
    const std::string& key = line.words[0];
    const Palette& palette = *art.palette;
    if (key == "canvas" && art.sequences.empty() && !open) {
        art.frameWidth = line.integer_at(1), art.frameHeight = line.integer_at(2);
        if (art.frameWidth < 1 || art.frameHeight < 1 || art.frameWidth > 4096 || art.frameHeight > 4096) line.fail("a canvas is 1 to 4096 pixels each way");
    } else if (key == "tile") {
        int w = line.words.size() > 2 ? line.integer_at(2) : 16, h = line.words.size() > 3 ? line.integer_at(3) : w;
        if (w < 1 || h < 1 || w > 4096 || h > 4096) line.fail("a tile is 1 to 4096 pixels each way");
        art.tiles[line.word(1)] = ReadTile(lines, i, palette, w, h);
    } else if (key == "derive") {
        Sequence once;
        once.layers.push_back(ParseLayer(line, palette, 2));
        if (once.layers[0].sourceKind != "tiles") line.fail("'derive' starts from a tile");
        const Grid& base = FindTile(art, line, once.layers[0].names[0]);
        art.tiles[line.word(1)] = RenderSequenceFrame(art, once, 0, base.width, base.height);
    } else if (key == "frames" && !open) {
        art.sequences.push_back(Sequence{line.integer_at(1), {}});
        if (art.sequences.back().frames < 1 || art.sequences.back().frames > 1024) line.fail("a sequence has 1 to 1024 frames");
        open = &art.sequences.back();
    } else if (key == "layer" && open) {
        open->layers.push_back(ParseLayer(line, palette, 1));
    } else if (key == "end" && open) {
        open = nullptr;
    } else if (key == "frame" && !open) {
        art.sequences.push_back(Sequence{1, {ParseLayer(line, palette, 1)}});
    } else {
        line.fail("'" + key + "' is not expected here");
    }
}

}  // namespace

Image CompileArt(const std::string& sourcePath, const Palette& palette) {
    std::vector<ScriptLine> lines;
    ExpandIncludes(sourcePath, lines, 0);
    ArtSource art;
    art.palette = &palette;
    Sequence* open = nullptr;
    for (size_t i = 0; i < lines.size(); ++i) ParseStatement(art, lines, i, open);
    if (open) throw ScriptError(sourcePath + ": a 'frames' block has no 'end'");
    int total = 0;
    for (const Sequence& sequence : art.sequences) total += sequence.frames;
    if (total == 0) throw ScriptError(sourcePath + ": no frames (use 'frame' or 'frames N ... end')");
    Grid strip(art.frameWidth * total, art.frameHeight);
    int column = 0;
    for (const Sequence& sequence : art.sequences)
        for (int frame = 0; frame < sequence.frames; ++frame, ++column)
            Composite(strip, RenderSequenceFrame(art, sequence, frame, art.frameWidth, art.frameHeight), column * art.frameWidth, 0);
    return ToImage(strip, palette);
}
