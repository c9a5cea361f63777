object Form1: TForm1
  Left = 347
  Top = 251
  Caption = 'Markwise07.7'
  ClientHeight = 287
  ClientWidth = 370
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  BorderIcons = []
  OnCreate = FormCreate
  object SkSkinEngine1: TSkSkinEngine
    SkinStore = 'Zodiraze'
  end
  object SkSkinForm1: TSkSkinForm
    SkinData = SkSkinEngine1
  end
  object ImageList1: TImageList
    Width = 16
    Height = 16
    Bitmap = {
      89504E470D0A1A0A0000000D494844520000003000000010080600000050AEFC
      B10000000467414D410000B18F0BFC6105000000206348524D00007A26000080
      840000FA00000080E8000075300000EA6000003A98000017709CBA513C000000
      06624B474400FF00FF00FFA0BDA7930000000774494D4507EA0C081514391009
      696C000003EA4944415448C7D5965D685B6518C77FE79C9C939C9436A9AC6995
      B52BCEDD58B06B4564B9505010AD0AF3A6080E1DD896364E9C70D884E2982B1D
      0C8ED28B911552DD0A4EA137162F72A7178AF10386D459105A264BC5666986C9
      FA919C2427C78B9ED434C9892DEA857F7879CFF3F13EEFFF39CFFB05FF730895
      C24048B71A393FD0E61F99796F28F25F12EA1D9E5125D9AD99C5FC3896E5FE8B
      A960482E65D22C18FA426428EB98C09C7EAA6EE041ED320087EE3F70E2CABB27
      AF3B111808E90780E3400FB008CC47C35A6A2FE4FB46678F95CC424C10253CBE
      0092A22208229655C2CC67C965925825135192833F4EBFF62D80582F5093EAAE
      6900EFBCFE02B757531F8F4D5C7BC581FC53C01A10014EDBFD9AADDF13798F2F
      4073C76164B5195172218822A2E442569B69EE388CC717A06416627DA3B3C71C
      2B50265C89E7DF78BF5AD51D0D6BB7ABFEFC9A2D1AC034300A9483B53955A277
      784605B63CBE00EDED01CEBCF8103D075B501589F8DD2C912F7EE5BBA53F76FC
      F39B6972992480B76E05EAE1EAC43073FA29AE4E0C9755992A97E315E47DD1B0
      761AF0D972A5BD0692ECD604514269F2E3F7CA3CFA602BBFFCBEC1726283231D
      4D4C0C3E8C479176FC95263F822821C96E6DCF0904EE6BD9B59CEAA0C7EEA7A3
      61CD00B0FBE92A7B0DCC627EDCE30B0090CCE4189CFA8133D77FE6CD6B3F6196
      2CDCB288DFEBDA35C6E30B6016F3E3AE7A01A7E6BE714CE4D567FB9C4C8B763F
      3A10D2CF46C39A3110D2DD6C2FA34A7B2D2CCB2D292A009B86098609C0C8D3DD
      48A2C0D2EA0689B4B16B88A4A86059EEBA098CBDF4B8E35CC5A2E9649A677BD3
      BA81CC40489FF6901DEB644989730403759E061084DD8BE1E4935DBC1C3CC8ED
      B52DCE7EB2E8E85F37812B9F7DBFEF0A44C35ACA3E6DBEB49378AB93253A59A6
      93650035DA2001CB2A21541C8ACF1D6DA7502C71E9F32552EBF9BAFEE0700AB9
      5C52CD80C7CEF7D79BB7F5E6C59BE9AA183BF7809FD46A3F5F5DAA307769E1D8
      4A7590DE910F73AABFC32DABCD3BBA436D5E4441E0B7BB5B14CCDAFBB5905D27
      9B4E18FBAA404B57CBCEF7BDF83DC74A003365B93F14FC1488DB625C0F056B92
      905CCA642E93BC50994064F8281E45E2C4E51BC4535B35F3E43249249732B9E7
      3DF0D1C2762F880256A9E18B6317B4706C450F05BB1A2561160C1DB890DF4CA3
      34F9FF36667E338D5532314BA65EF71875CBAE9AF64F6093EDAA50C5F550B0B3
      2C2C4486B2A22407739924F9CD3400CF5C8CF1C4F9AF6BFE7EF912132539B810
      19CAEEF931B7E29FADA7AED9038D60932E57624A0BC7DEAEB4FF1B6FA156A7D6
      927BA4BBB2ED977C5525A6800FAAED3629AF28B9CE65D30963E3CE2DD613CB6C
      DCB945369D3044C9750EF096C903FC09B7929F9DA52A14080000002574455874
      646174653A63726561746500323032362D31322D30385432313A32303A35372B
      30303A3030F57E0A890000002574455874646174653A6D6F6469667900323032
      362D31322D30385432313A32303A35372B30303A30308423B235000000004945
      4E44AE426082}
  end
  object SaveDialog1: TSaveDialog
    Filter = 'Word文档(*.doc)|*.doc'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]
  end
  object SkSkinMenuBar1: TSkSkinMenuBar
    Left = 0
    Top = 0
    Width = 370
    Height = 19
    Align = alTop
    Images = ImageList1
    SkinData = SkSkinEngine1
    SkinObject = 'MenuBar'
    object MbMake: TSkSkinItem
      Caption = '文档制作'
      Enabled = False
      Checked = True
      ImageIndex = 0
      OnClick = MbMakeClick
    end
    object MbPreview: TSkSkinItem
      Caption = '文档预览'
      Enabled = False
      ImageIndex = 1
      OnClick = MbPreviewClick
    end
    object CustomItem1: TSkSkinItem
      Caption = '帮助'
      OnClick = CustomItem1Click
    end
    object MbPrint: TSkSkinItem
      Caption = '文档打印'
      Enabled = False
      Visible = False
      OnClick = MbPrintClick
    end
  end
  object SkSkinPageControl1: TSkSkinPageControl
    Left = 8
    Top = 24
    Width = 353
    Height = 257
    SkinData = SkSkinEngine1
    SkinObject = 'Tabs'
    TabOrder = 0
    object SkCustomTabSheet1: TSkCustomTabSheet
      Caption = '信息录入'
      object SkSkinLabel1: TSkSkinLabel
        Left = 20
        Top = 14
        Width = 56
        Height = 15
        Caption = '课程名称'
        SkinData = SkSkinEngine1
        SkinObject = 'Label'
      end
      object edtclassname: TSkSkinEdit
        Left = 81
        Top = 10
        Width = 233
        Height = 23
        SkinData = SkSkinEngine1
        SkinObject = 'Edit'
        TabOrder = 0
      end
      object SkSkinLabel2: TSkSkinLabel
        Left = 20
        Top = 54
        Width = 56
        Height = 15
        Caption = '任课教师'
        SkinData = SkSkinEngine1
        SkinObject = 'Label'
      end
      object edtteacher: TSkSkinEdit
        Left = 81
        Top = 50
        Width = 76
        Height = 23
        SkinData = SkSkinEngine1
        SkinObject = 'Edit'
        TabOrder = 1
      end
      object SkSkinLabel3: TSkSkinLabel
        Left = 172
        Top = 52
        Width = 28
        Height = 15
        Caption = '学分'
        SkinData = SkSkinEngine1
        SkinObject = 'Label'
      end
      object edtgrade: TSkSkinEdit
        Left = 202
        Top = 48
        Width = 41
        Height = 23
        SkinData = SkSkinEngine1
        SkinObject = 'Edit'
        TabOrder = 9
        OnKeyPress = edtgradeKeyPress
      end
      object SkSkinLabel4: TSkSkinLabel
        Left = 256
        Top = 52
        Width = 28
        Height = 15
        Caption = '学时'
        SkinData = SkSkinEngine1
        SkinObject = 'Label'
      end
      object edttime: TSkSkinEdit
        Left = 288
        Top = 48
        Width = 41
        Height = 23
        SkinData = SkSkinEngine1
        SkinObject = 'Edit'
        TabOrder = 8
        OnKeyPress = edttimeKeyPress
      end
      object SkSkinLabel5: TSkSkinLabel
        Left = 20
        Top = 94
        Width = 56
        Height = 15
        Caption = '课程编号'
        SkinData = SkSkinEngine1
        SkinObject = 'Label'
      end
      object edtclassnumber: TSkSkinEdit
        Left = 81
        Top = 90
        Width = 76
        Height = 23
        SkinData = SkSkinEngine1
        SkinObject = 'Edit'
        TabOrder = 3
        OnKeyPress = edtclassnumberKeyPress
      end
      object SkSkinLabel6: TSkSkinLabel
        Left = 184
        Top = 94
        Width = 56
        Height = 15
        Caption = '授课班级'
        SkinData = SkSkinEngine1
        SkinObject = 'Label'
      end
      object edtclass: TSkSkinEdit
        Left = 244
        Top = 90
        Width = 90
        Height = 23
        SkinData = SkSkinEngine1
        SkinObject = 'Edit'
        TabOrder = 2
      end
      object SkSkinLabel7: TSkSkinLabel
        Left = 20
        Top = 135
        Width = 56
        Height = 15
        Caption = '考试时间'
        SkinData = SkSkinEngine1
        SkinObject = 'Label'
      end
      object tmExam: TFrDateTimePicker
        Left = 82
        Top = 131
        Width = 81
        Height = 21
        Kind = dtkDate
        TabOrder = 12
      end
      object tmBeginTime: TFrDateTimePicker
        Left = 165
        Top = 131
        Width = 57
        Height = 21
        Kind = dtkTime
        DateMode = dmUpDown
        Format = 'H:mm'
        Time = 0.345138888888888900
        TabOrder = 10
      end
      object SkSkinLabel8: TSkSkinLabel
        Left = 223
        Top = 134
        Width = 10
        Height = 15
        Caption = '－'
        SkinData = SkSkinEngine1
        SkinObject = 'Label'
      end
      object tmEndTime: TFrDateTimePicker
        Left = 234
        Top = 130
        Width = 55
        Height = 21
        Kind = dtkTime
        DateMode = dmUpDown
        Format = 'H:mm'
        Time = 0.347916666666666700
        TabOrder = 11
      end
      object SkSkinLabel9: TSkSkinLabel
        Left = 20
        Top = 178
        Width = 56
        Height = 15
        Caption = '考试方式'
        SkinData = SkSkinEngine1
        SkinObject = 'Label'
      end
      object rdbtnbijuan: TSkSkinRadioButton
        Left = 93
        Top = 176
        Width = 100
        Height = 17
        Caption = '闭卷'
        Checked = True
        SkinData = SkSkinEngine1
        SkinObject = 'RadioButton'
        TabOrder = 4
      end
      object rdbtnkaijuan: TSkSkinRadioButton
        Left = 213
        Top = 176
        Width = 100
        Height = 17
        Caption = '开卷'
        SkinData = SkSkinEngine1
        SkinObject = 'RadioButton'
        TabOrder = 5
      end
      object rdbtnpaper: TSkSkinRadioButton
        Left = 93
        Top = 208
        Width = 100
        Height = 17
        Caption = '论文'
        SkinData = SkSkinEngine1
        SkinObject = 'RadioButton'
        TabOrder = 6
      end
      object rdbtnother: TSkSkinRadioButton
        Left = 214
        Top = 208
        Width = 100
        Height = 17
        Caption = '其他'
        SkinData = SkSkinEngine1
        SkinObject = 'RadioButton'
        TabOrder = 7
      end
    end
    object SkCustomTabSheet2: TSkCustomTabSheet
      Caption = '成绩分析'
      object sgrdAnalyse: TSkSkinStringGrid
        Left = 77
        Top = 15
        Width = 240
        Height = 203
        ColCount = 3
        RowCount = 8
        DefaultColWidth = 78
        DefaultRowHeight = 24
        Color = clWhite
        ScrollBars = ssNone
        SkinData = SkSkinEngine1
        SkinObject = 'Grid'
        TabOrder = 0
      end
    end
    object SkCustomTabSheet3: TSkCustomTabSheet
      Caption = '直方图'
    end
    object SkCustomTabSheet4: TSkCustomTabSheet
      Caption = '试卷分析'
      object SkSkinPanel1: TSkSkinPanel
        Left = 0
        Top = 0
        Width = 345
        Height = 229
        Align = alClient
        ShowCaption = False
        RollUpButton = False
        SkinData = SkSkinEngine1
        SkinObject = 'Panel'
        TabOrder = 0
        object FrLabel1: TFrLabel
          Left = 10
          Top = 6
          Width = 323
          Height = 30
          Caption = '分析结论 （学生错误率较高对应知识点分布及原因、'#13'该课程教学体会和建议）'
          Transparent = True
        end
        object mmadvice: TFrMemo
          Left = 10
          Top = 40
          Width = 323
          Height = 176
          Font.Charset = GB2312_CHARSET
          Font.Color = clWindowText
          Font.Height = -13
          Font.Name = 'MS Sans Serif'
          ScrollBars = ssVertical
          TabOrder = 0
        end
      end
    end
    object SkCustomTabSheet5: TSkCustomTabSheet
      Caption = '成绩录入'
      object strgrdscore: TFrStringGrid
        Left = 8
        Top = 8
        Width = 92
        Height = 212
        ColCount = 1
        RowCount = 300
        FixedCols = 0
        DefaultColWidth = 70
        FixedColor = clInactiveCaptionText
        Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goEditing, goTabs]
        ScrollBars = ssVertical
        FrameVisible = True
        FrameColor = 12164479
        FixedLineColor = 12164479
        LineColor = clInactiveCaption
        TabOrder = 1
        OnKeyPress = strgrdscoreKeyPress
        OnSetEditText = strgrdscoreSetEditText
        OnMouseDown = strgrdscoreMouseDown
      end
      object FrLabel4: TFrLabel
        Left = 112
        Top = 8
        Width = 230
        Height = 96
        Alignment = taCenter
        Caption = '欢迎使用成绩分析！'#13'在左边的表格里每行输入一个成绩，'#13'按 Tab 键到下一行，可以输入小数。'#13'全部输入后点击【成绩分析】，'#13'分析结果和直方图就会出现。'
        Font.Charset = ANSI_CHARSET
        Font.Color = clNavy
        Font.Height = -11
        Font.Name = 'Verdana'
        TextStyle = tsRaised
      end
      object FrLabel2: TFrLabel
        Left = 128
        Top = 123
        Width = 86
        Height = 20
        Caption = '您已经输入'
        Font.Charset = GB2312_CHARSET
        Font.Color = clGreen
        Font.Height = -16
        Font.Name = '华文新魏'
      end
      object LED: TFrLEDDisplay
        Left = 217
        Top = 120
        Width = 38
        Height = 24
      end
      object FrLabel3: TFrLabel
        Left = 260
        Top = 123
        Width = 20
        Height = 20
        Caption = '人'
        Font.Charset = GB2312_CHARSET
        Font.Color = clGreen
        Font.Height = -16
        Font.Name = '华文新魏'
        Font.Style = [fsBold]
      end
      object btnAnalyse: TSkSkinButton
        Left = 128
        Top = 184
        Width = 105
        Height = 41
        Caption = '成绩分析'
        SkinData = SkSkinEngine1
        SkinObject = 'Button'
        TabOrder = 2
        OnClick = btnAnalyseClick
      end
      object btnClear: TSkSkinButton
        Left = 240
        Top = 184
        Width = 105
        Height = 41
        Caption = '重置'
        SkinData = SkSkinEngine1
        SkinObject = 'Button'
        TabOrder = 3
        OnClick = btnClearClick
      end
    end
  end
end
