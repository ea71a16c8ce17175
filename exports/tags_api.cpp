// SPDX-License-Identifier: Apache-2.0
// The tags file of the C interface (quorvane_tags.h): the repository
// session's tags jobs on the process's Module.
#include <string>

#include "exports/abi.h"
#include "exports/process.h"
#include "repository/repository_session.h"

using qv::abi::NewString;
using qv::abi::TheProcess;

namespace {

using Job = qv::TagsOutcome (qv::RepositorySession::*)(const qv::TagsTarget&, const qv::TagProblemHandler&);

int64_t WriteTags(Job job, QvTagsFormat eFormat, const char* sPath, QvString** ppText, QvTagsProblemHandler pHandler,
                  void* pUserData, QvString** ppError) {
  if (ppError != nullptr) *ppError = nullptr;
  qv::Module& m = *TheProcess().pModule;
  m.EnsureInitialised();
  std::string sText;
  qv::TagsTarget target;
  target.sPath = sPath == nullptr ? "" : sPath;
  if (target.sPath.empty() && ppText != nullptr) target.pText = &sText;
  target.eFormat = eFormat == QV_TAGS_ETAGS ? qv::TagsFormat::kEtags : qv::TagsFormat::kCtags;
  qv::TagProblemHandler fnProblem;
  if (pHandler != nullptr) {
    fnProblem = [&](const qv::TagProblem& problem) {
      pHandler(pUserData, problem.sPath.c_str(), problem.sPath.size(), problem.sWhy.c_str(), problem.sWhy.size(),
               problem.bFailure ? 1 : 0);
    };
  }
  qv::RepositorySession session(m);
  const qv::TagsOutcome outcome = (session.*job)(target, fnProblem);
  switch (outcome.eFailure) {
    case qv::TagsOutcome::Failure::kNone:
      if (target.pText != nullptr) *ppText = NewString(std::move(sText));
      return outcome.nTags;
    case qv::TagsOutcome::Failure::kNotWritten:
      if (ppError != nullptr) *ppError = NewString(outcome.sError);
      return QV_TAGS_NOT_WRITTEN;
    case qv::TagsOutcome::Failure::kUnreadableClassList:
      break;
  }
  if (ppError != nullptr) *ppError = NewString(outcome.sError);
  return QV_TAGS_UNREADABLE_CLASS_LIST;
}

}  // namespace

extern "C" {

QV_API int64_t QvWriteRepositoryTags(const char* sPath, QvString** ppText, QvTagsProblemHandler pHandler,
                                     void* pUserData, QvString** ppError) {
  return WriteTags(&qv::RepositorySession::RepositoryTags, QV_TAGS_CTAGS, sPath, ppText, pHandler, pUserData, ppError);
}

QV_API int64_t QvWriteRecordTags(const char* sPath, QvString** ppText, QvTagsProblemHandler pHandler, void* pUserData,
                                 QvString** ppError) {
  return WriteTags(&qv::RepositorySession::RecordTags, QV_TAGS_CTAGS, sPath, ppText, pHandler, pUserData, ppError);
}

QV_API int64_t QvWriteRepositoryTagsAs(QvTagsFormat eFormat, const char* sPath, QvString** ppText,
                                       QvTagsProblemHandler pHandler, void* pUserData, QvString** ppError) {
  return WriteTags(&qv::RepositorySession::RepositoryTags, eFormat, sPath, ppText, pHandler, pUserData, ppError);
}

QV_API int64_t QvWriteRecordTagsAs(QvTagsFormat eFormat, const char* sPath, QvString** ppText,
                                   QvTagsProblemHandler pHandler, void* pUserData, QvString** ppError) {
  return WriteTags(&qv::RepositorySession::RecordTags, eFormat, sPath, ppText, pHandler, pUserData, ppError);
}

}  // extern "C"
