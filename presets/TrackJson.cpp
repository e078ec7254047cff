#include "presets/TrackJson.h"

#include "model/SoundRanges.h"

#include <array>

namespace {

using jsonread::Refuse;

Json EnvelopeJson(const CEnvelope& e) {
    return {{"curve", e.curve},
            {"delay", e.delay},
            {"attack", e.attack},
            {"decay", e.decay},
            {"sustain", e.sustain},
            {"release", e.release},
            {"attackLevel", e.attackLevel},
            {"sustainLevel", e.sustainLevel},
            {"level", e.level},
            {"keyScaling", e.keyScaling}};
}

Json LfoJson(const CLFO& l) {
    return {{"waveform", l.waveform}, {"invert", l.invert}, {"delay", l.delay},
            {"fade", l.fade},         {"period", l.period}, {"depth", l.depth}};
}

Json FmJson(const CFM& fm) {
    Json operators = Json::array();
    for (const CFMOperator& o : fm.operators)
        operators.push_back({{"envelope", EnvelopeJson(o.envelope)},
                             {"pitchLFO", LfoJson(o.pitchLFO)},
                             {"ampLFO", LfoJson(o.ampLFO)},
                             {"feedback", o.feedback},
                             {"multiple", o.multiple},
                             {"detune", o.detune}});
    return {{"algorithm", fm.algorithm}, {"operators", operators}};
}

Json PcmJson(const CPCM& p) {
    return {{"fileName", p.fileName}, {"baseKey", p.baseKey},     {"loopStart", p.loopStart},
            {"loopEnd", p.loopEnd},   {"loopCount", p.loopCount}, {"loopUnit", p.loopUnit}};
}

// Reads the integer fields of a record that the table of sound ranges lists.
template <class R, size_t N>
void ReadFields(CJsonFields& f, R& record, const std::array<soundranges::FIELD<R>, N>& fields) {
    for (const soundranges::FIELD<R>& field : fields)
        f.Int(field.name, record.*field.member, field.range.lo, field.range.hi);
}

void ReadEnvelope(const Json& v, const std::string& path, CEnvelope& e) {
    CJsonFields f(v, path);
    ReadFields(f, e, soundranges::kEnvelopeFields);
    f.Finish();
}

void ReadLfo(const Json& v, const std::string& path, CLFO& l, soundranges::VALUE_RANGE depth) {
    CJsonFields f(v, path);
    ReadFields(f, l, soundranges::kLfoFields);
    f.Int("depth", l.depth, depth.lo, depth.hi);
    f.Finish();
}

void ReadLfos(CJsonFields& f, CLFO& pitch, CLFO& amp) {
    if (const Json* l = f.Get("pitchLFO"))
        ReadLfo(*l, f.PathOf("pitchLFO"), pitch, soundranges::kPitchDepth);
    if (const Json* l = f.Get("ampLFO"))
        ReadLfo(*l, f.PathOf("ampLFO"), amp, soundranges::kAmpDepth);
}

void ReadOperator(const Json& v, const std::string& path, CFMOperator& o) {
    CJsonFields f(v, path);
    if (const Json* e = f.Get("envelope"))
        ReadEnvelope(*e, f.PathOf("envelope"), o.envelope);
    ReadLfos(f, o.pitchLFO, o.ampLFO);
    ReadFields(f, o, soundranges::kOperatorFields);
    if (const Json* m = f.Get("multiple"))
        o.multiple = jsonread::DoubleValue(*m, f.PathOf("multiple"), soundranges::kMultipleMin,
                                           soundranges::kMultipleMax);
    f.Finish();
}

void ReadFm(const Json& v, const std::string& path, CFM& fm) {
    CJsonFields f(v, path);
    f.Int("algorithm", fm.algorithm, soundranges::kAlgorithm.lo, soundranges::kAlgorithm.hi);
    if (const Json* ops = f.Get("operators")) {
        const std::string opsPath = f.PathOf("operators");
        const Json& list = jsonread::ArrayAt(ops, opsPath);
        if (list.size() > fm.operators.size())
            Refuse(opsPath, "has more than four operators");
        for (size_t i = 0; i < list.size(); ++i)
            ReadOperator(list[i], jsonread::Index(opsPath, i), fm.operators[i]);
    }
    f.Finish();
}

void ReadPcm(const Json& v, const std::string& path, CPCM& p) {
    CJsonFields f(v, path);
    f.Text("fileName", p.fileName);
    ReadFields(f, p, soundranges::kPcmFields);
    f.Finish();
}

void ReadWaveMemory(const Json& v, const std::string& path, CWaveMemory& w) {
    using soundranges::kWaveSamples;
    CJsonFields f(v, path);
    int32_t height = w.height;
    f.Int("height", height, soundranges::kWaveHeight.lo, soundranges::kWaveHeight.hi);
    std::vector<int32_t> samples = w.samples;
    if (const Json* s = f.Get("samples")) {
        const std::string samplesPath = f.PathOf("samples");
        const Json& list = jsonread::ArrayAt(s, samplesPath);
        if (!kWaveSamples.Contains(static_cast<int64_t>(list.size())))
            Refuse(samplesPath,
                   "must hold " + jsonread::Range(kWaveSamples.lo, kWaveSamples.hi) + " samples");
        samples.clear();
        for (size_t i = 0; i < list.size(); ++i)
            samples.push_back(jsonread::IntValue(list[i], jsonread::Index(samplesPath, i),
                                                 -height / 2, height / 2));
    }
    f.Finish();
    w.samples = std::move(samples);
    w.height = height;
}

} // namespace

Json TrackFieldsJson(const CTrackData& s, TrackKeys keys) {
    const bool track = keys == TrackKeys::Track;
    Json out = Json::object();
    if (track)
        out["name"] = s.name;
    out["useNoteColor"] = s.useNoteColor;
    out["noteColor"] = s.noteColor;
    out["waveform"] = s.waveform;
    out["invert"] = s.invert;
    out["pseudoWave"] = s.pseudoWave;
    out["duty"] = s.duty;
    out["volume"] = s.volume;
    out["pan"] = s.pan;
    out["detune"] = s.detune;
    if (track)
        out["mute"] = s.mute;
    out["envelope"] = EnvelopeJson(s.envelope);
    out["pitchLFO"] = LfoJson(s.pitchLFO);
    out["ampLFO"] = LfoJson(s.ampLFO);
    out["pcm"] = PcmJson(s.pcm);
    out["waveMemory"] = {{"height", s.waveMemory.height}, {"samples", s.waveMemory.samples}};
    out["fm"] = FmJson(s.fm);
    return out;
}

void ReadTrackFields(CJsonFields& f, CTrackData& s, TrackKeys keys) {
    const bool track = keys == TrackKeys::Track;
    if (track)
        f.Text("name", s.name);
    f.Color("noteColor", s.noteColor);
    for (const auto& field : soundranges::kTrackFields)
        if (track || field.member != &CTrackData::mute)
            f.Int(field.name, s.*field.member, field.range.lo, field.range.hi);
    if (const Json* e = f.Get("envelope"))
        ReadEnvelope(*e, f.PathOf("envelope"), s.envelope);
    ReadLfos(f, s.pitchLFO, s.ampLFO);
    if (const Json* p = f.Get("pcm"))
        ReadPcm(*p, f.PathOf("pcm"), s.pcm);
    if (const Json* w = f.Get("waveMemory"))
        ReadWaveMemory(*w, f.PathOf("waveMemory"), s.waveMemory);
    if (const Json* fm = f.Get("fm"))
        ReadFm(*fm, f.PathOf("fm"), s.fm);
}
