// A tree of small filters a frame offers selected window messages to, before or after its own
// handling: each filter may handle a message (bit 1 of the result: the frame skips its default
// processing) and may stop its later siblings from seeing it (bit 8). Frames describe the
// filters they want in a descriptor table; the tree creates a filter the first time its
// descriptor is applied enabled and enables or disables it later, never removing one.
#ifndef QUORVEL_SECMSGFILTER_H
#define QUORVEL_SECMSGFILTER_H

#include <afxwin.h>
#include <vector>

// The filter ids of the frames' caption controls.
enum {
  SEC_FILTER_CAPTIONLIST = 0x100,
  SEC_FILTER_SYSCOMMANDEX = 0x101,
  SEC_FILTER_STATEBUTTON = 0x102,
  SEC_FILTER_CAPTIONRDBLCLK = 0x103,
  SEC_FILTER_MAXCHILDBUTTON = 0x104,
  SEC_FILTER_MAXCHILDRDBLCLK = 0x105,
  SEC_FILTER_CONTEXTMENU = 0x106,
};

class SECMsgFilter : public CObject {
  DECLARE_DYNCREATE(SECMsgFilter)

 public:
  // Result bits of FilterMessage.
  enum { fltHandled = 1, fltStop = 8 };

  // One filter of a frame's standard set.
  struct Descriptor {
    int nID;
    int nParentID;          // -1: a child of the root
    CRuntimeClass* pClass;  // what the filter is made from
    DWORD dwFlags;          // fltNeverDisable
    Descriptor* Clone() const { return new Descriptor(*this); }
  };
  enum { fltNeverDisable = 1 };

  // Owns its descriptors; applied in the order they were added (parents first).
  class DescriptorTable {
   public:
    DescriptorTable() {}
    ~DescriptorTable();
    DescriptorTable(const DescriptorTable&) = delete;
    DescriptorTable& operator=(const DescriptorTable&) = delete;
    // Appends; the index of the new descriptor.
    int Add(int nID, int nParentID, CRuntimeClass* pClass, DWORD dwFlags = 0);
    int GetSize() const { return (int)m_descriptors.size(); }
    const Descriptor* GetAt(int i) const { return m_descriptors[(size_t)i]; }

   private:
    std::vector<Descriptor*> m_descriptors;
  };

  explicit SECMsgFilter(CWnd* pFrame = NULL, int nID = -1);
  // A deep copy: the same ids, enabled flags and tree shape, serving the same frame.
  SECMsgFilter(const SECMsgFilter& src);
  virtual ~SECMsgFilter();

  virtual SECMsgFilter* Clone() const;
  virtual CWnd* GetFrame() const;
  virtual void SetFrame(CWnd* pFrame, BOOL bRecursive = TRUE);
  // 0 when disabled, else OnFilterMessage.
  virtual DWORD FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // The filter's own handling; the base offers the message to the children.
  virtual DWORD OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Offers the message to the enabled children in order, ORing their results, until one
  // says stop.
  virtual DWORD FilterChildren(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // A filter with that id among the children, then (depth not 0) in their subtrees to that
  // depth (-1: all); none found and a class given: one made of it and added as a child.
  // FilterMessage for a message record: the one the thread is handling when none is given.
  DWORD FilterCurrentMessage(const MSG* pMsg = NULL, LRESULT* pResult = NULL);
  virtual SECMsgFilter* FindFilter(int nID, CRuntimeClass* pClass = NULL, int nDepth = -1);
  virtual void ApplyDescriptor(const Descriptor& descriptor, BOOL bEnable);
  // pEnable: one value per descriptor of the table.
  virtual void ApplyDescriptors(const DescriptorTable& table, const BOOL* pEnable);
  virtual void ApplyDescriptorsAll(const DescriptorTable& table, BOOL bEnable);

  int GetChildCount() const { return (int)m_children.size(); }
  SECMsgFilter* GetChild(int i) const { return m_children[(size_t)i]; }
  void AddChild(SECMsgFilter* pChild) { m_children.push_back(pChild); }

  int m_nID;          // -1: none; 0-4095 caption button types; 256 and up standard filters
  BOOL m_bEnabled;
  BOOL m_bOwnChildren;

 protected:
  std::vector<SECMsgFilter*> m_children;
  CWnd* m_pFrame;
};

#endif  // QUORVEL_SECMSGFILTER_H
