#pragma once

#include <string>
#include <vector>

namespace cocos2d {
class CCArray;
class CCDictionary;
} // namespace cocos2d

class TSModel;

/// An ordered list of models of one class that a model stores as an array of ids ("%d").
///
/// Ids read from a file are kept until they can be resolved (once every model of the project
/// exists); resolving keeps only ids that name a model of the expected class.
class TSModelIdList
{
public:
    explicit TSModelIdList(std::string className);
    ~TSModelIdList();

    TSModelIdList(const TSModelIdList&) = delete;
    TSModelIdList& operator=(const TSModelIdList&) = delete;

    /// The models (retained by the list); pending ids are resolved first.
    cocos2d::CCArray* models();
    unsigned count();
    TSModel* at(unsigned index);
    void append(TSModel* model);
    void remove(TSModel* model);
    bool contains(TSModel* model);
    void clear();

    /// Writes the ids under key as an array of "%d" strings.
    void writeIds(cocos2d::CCDictionary* dict, const char* key);
    /// Takes the ids under key for resolving later; the current models are dropped.
    void readIds(cocos2d::CCDictionary* dict, const char* key);
    /// Looks the pending ids up in the controller.
    void resolve();
    bool hasPendingIds() const { return !m_pendingIds.empty(); }

private:
    std::string m_className;
    cocos2d::CCArray* m_models;
    std::vector<unsigned> m_pendingIds;
};
