#include "simulator/Mib.h"

#include <algorithm>

namespace sim {

void Mib::Add(const Oid& oid, MibValue value, Access access, ValueRule rule) {
    scalars_[oid] = Scalar{std::move(value), access, std::move(rule), {}};
}

void Mib::AddLive(const Oid& oid, std::function<MibValue()> reader) {
    scalars_[oid] = Scalar{MibValue::None(), Access::ReadOnly, {}, std::move(reader)};
}

MibTable& Mib::AddTable(MibTable table) {
    tables_.push_back(std::move(table));
    return tables_.back();
}

MibValue Mib::ValueOf(const Scalar& scalar) const {
    return scalar.reader ? scalar.reader() : scalar.value;
}

bool Mib::Contains(const Oid& oid) const {
    return Get(oid).has_value();
}

std::optional<MibValue> Mib::Get(const Oid& oid) const {
    auto scalar = scalars_.find(oid);
    if (scalar != scalars_.end()) {
        return ValueOf(scalar->second);
    }
    for (const MibTable& table : tables_) {
        if (table.Owns(oid)) {
            return table.Get(oid);
        }
    }
    return std::nullopt;
}

const MibValue* Mib::Stored(const Oid& oid) const {
    auto scalar = scalars_.find(oid);
    return scalar != scalars_.end() && !scalar->second.reader ? &scalar->second.value : nullptr;
}

std::optional<std::pair<Oid, MibValue>> Mib::Next(const Oid& oid) const {
    std::optional<std::pair<Oid, MibValue>> best;
    auto scalar = scalars_.upper_bound(oid);
    if (scalar != scalars_.end()) {
        best.emplace(scalar->first, ValueOf(scalar->second));
    }
    for (const MibTable& table : tables_) {
        auto candidate = table.Next(oid);
        if (candidate && (!best || candidate->first < best->first)) {
            best = std::move(candidate);
        }
    }
    return best;
}

ErrorStatus Mib::SetOne(const Binding& binding) {
    auto scalar = scalars_.find(binding.oid);
    if (scalar == scalars_.end()) {
        for (MibTable& table : tables_) {
            if (table.Owns(binding.oid)) {
                return table.Set(*this, binding.oid, binding.value);
            }
        }
        return ErrorStatus::NoSuchName;
    }
    Scalar& target = scalar->second;
    if (target.access == Access::ReadOnly) {
        return ErrorStatus::NoSuchName;
    }
    if (binding.value.type != target.value.type) {
        return ErrorStatus::BadValue;
    }
    if (target.rule) {
        ErrorStatus verdict = target.rule(*this, binding.value);
        if (verdict != ErrorStatus::NoError) {
            return verdict;
        }
    }
    target.value = binding.value;
    return ErrorStatus::NoError;
}

SetOutcome Mib::Set(const std::vector<Binding>& bindings) {
    // Bindings apply in order (a row made by the first binding takes the next ones); any
    // refusal puts every object back as it was. Only what the set can change is kept for that: the
    // stored values of its scalars and the tables it writes to. (A copy of the whole tree for each
    // set made one simulator too slow for a site of ten thousand cards.)
    std::vector<std::pair<Scalar*, MibValue>> scalarsBefore;
    std::vector<std::pair<size_t, MibTable>> tablesBefore;
    for (size_t i = 0; i < bindings.size(); ++i) {
        auto scalar = scalars_.find(bindings[i].oid);
        if (scalar != scalars_.end()) {
            scalarsBefore.emplace_back(&scalar->second, scalar->second.value);
        }
        for (size_t t = 0; t < tables_.size() && scalar == scalars_.end(); ++t) {
            const bool kept = std::any_of(tablesBefore.begin(), tablesBefore.end(),
                                          [t](const auto& table) { return table.first == t; });
            if (tables_[t].Owns(bindings[i].oid) && !kept) {
                tablesBefore.emplace_back(t, tables_[t]);
            }
        }
        ErrorStatus status = SetOne(bindings[i]);
        if (status != ErrorStatus::NoError) {
            for (auto undo = scalarsBefore.rbegin(); undo != scalarsBefore.rend(); ++undo) {
                undo->first->value = std::move(undo->second);
            }
            for (auto& [t, table] : tablesBefore) {
                tables_[t] = std::move(table);
            }
            return SetOutcome{status, i + 1};
        }
    }
    return SetOutcome{};
}

void Mib::Put(const Oid& oid, MibValue value) {
    auto scalar = scalars_.find(oid);
    if (scalar != scalars_.end()) {
        scalar->second.value = std::move(value);
    }
}

MibTable* Mib::FindTable(const Oid& entry) {
    for (MibTable& table : tables_) {
        if (table.Entry() == entry) {
            return &table;
        }
    }
    return nullptr;
}

const MibTable* Mib::FindTable(const Oid& entry) const {
    return const_cast<Mib*>(this)->FindTable(entry);
}

}  // namespace sim
