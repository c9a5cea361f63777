object Form2: TForm2
  Left = 192
  Top = 115
  Caption = '帮助'
  ClientHeight = 292
  ClientWidth = 386
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  object FrLabel4: TFrLabel
    Left = 16
    Top = 8
    Width = 353
    Height = 237
    Caption = '      鉴于本软件的基本目的是为了分析成绩并画出直方图，所以'#13'将成绩输入作为首界面，您可根据个人喜好选择各个部分的输入'#13'顺序。'#13'      成绩录入可使用tab键换行。现已增加小数录入功能。录入完'#13'毕后点击【成绩分析】按钮计算成绩分布并画出相应直方图，直'#13'方图纵向人数会随着各成绩段中人数的最高值而变化。如果您还'#13'没有输入其他文字信息，此时可以填写其他部分。当全部输入结'#13'束，点击菜单中【文档制作】按钮生成word文档，在得到直方图'#13'之前此按钮为不可用状态。文档制作成功后可点击【文档预览】'#13'按钮打开刚刚制作好的试卷分析文档，此时打开状态为只读，不'#13'能够直接修改该word文件。若需要修改，请将程序关闭，直接双'#13'击该word文档图标打开后进行修改。'#13'      当分析下一个班级的试卷时，可点击【重置】按钮，删除成'#13'绩分布和直方图内容，但其他文字部分并不清空，可简单修改后'#13'供下个班级试卷分析时使用。'#13'      此软件经简单测试，并未做全面的需求分析，故并不能满足'#13'部分院系实际需要，请见谅！如果有需要修改，请联系我，会及'#13'时加以补充以满足广大教师的实际需求！'
    Font.Charset = ANSI_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'Verdana'
    TextStyle = tsRaised
    AutoSize = False
    LightTextStyle = True
    Transparent = True
  end
end
