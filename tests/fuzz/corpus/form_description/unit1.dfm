object Form1: TForm1
  Left = 192
  Top = 107
  Width = 338
  Height = 218
  Caption = #12501#12449#12452#12523#12398#21066#38500
  Color = clBtnFace
  Font.Charset = SHIFTJIS_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = #65325#65331' '#65328#12468#12471#12483#12463
  Font.Style = []
  FormStyle = fsStayOnTop
  OldCreateOrder = False
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 12
  object Label2: TLabel
    Left = 8
    Top = 120
    Width = 220
    Height = 12
    Caption = #19978#35352#12398#36984#25246#12373#12428#12390#12356#12427#12501#12449#12452#12523#12434#21066#38500#12375#12414#12377
  end
  object Label3: TLabel
    Left = 8
    Top = 136
    Width = 309
    Height = 12
    Caption = #20351#29992#12375#12390#12356#12427#21487#33021#24615#12398#12354#12427#12450#12503#12522#12465#12540#12471#12519#12531#12434#32066#20102#12375#12390#12367#12384#12373#12356
  end
  object Button1: TButton
    Left = 160
    Top = 160
    Width = 75
    Height = 25
    Caption = 'OK'
    TabOrder = 0
    OnClick = Button1Click
  end
  object Button2: TButton
    Left = 248
    Top = 160
    Width = 75
    Height = 25
    Caption = #12461#12515#12531#12475#12523
    TabOrder = 1
    OnClick = Button2Click
  end
  object ListView1: TListView
    Left = 8
    Top = 8
    Width = 313
    Height = 105
    Columns = <
      item
        Caption = #12501#12449#12452#12523#21517
        Tag = 1
        Width = 290
      end>
    HideSelection = False
    MultiSelect = True
    ReadOnly = True
    RowSelect = True
    TabOrder = 2
    ViewStyle = vsReport
    OnColumnClick = ListView1ColumnClick
    OnCompare = ListView1Compare
  end
  object CheckBox1: TCheckBox
    Left = 8
    Top = 160
    Width = 97
    Height = 17
    Caption = #23436#20840#28040#21435
    TabOrder = 3
  end
end
