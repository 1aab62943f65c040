// The page's own texts around the form: the result buttons and what the
// status line says after each. The form's texts come from the module.

export const pageTexts = {
    actionsName: '결과 보내기',
    copyReport: '결과 복사',
    copyTable: '표 복사',
    shareLink: '링크 공유',
    reportCopied: '결과를 복사했습니다.',
    tableCopied: '표를 복사했습니다.',
    linkCopied: '링크를 복사했습니다.',
    shared: '공유했습니다.',
    copyFailed: '복사하지 못했습니다. 브라우저가 클립보드 쓰기를 허락하지 않았습니다.',
    linkTooLong: '입력이 너무 길어 링크에 담지 못했습니다.',
};
