// The built-in printer, in the format of the printer description files so that one reader serves
// both. examples/printers/default.xml holds the same text (a test keeps them equal).
#include "platform/printticket/PrinterDescription.h"

namespace printschema {

const char kBuiltInPrinterDescription[] = R"xml(<?xml version="1.0" encoding="UTF-8"?>
<!-- The built-in printer of xpschain: the printer every job runs on when no description file is given.
     The same text is compiled into the platform library; docs/printer-description.md explains the format. -->
<PrinterDescription xmlns="http://schemas.xpschain.org/printing/2026/printer-description"
    xmlns:psk="http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords"
    xmlns:xc="http://schemas.xpschain.org/printing/2026/keywords"
    name="xpschain Default Printer" version="1">
  <ImageableMargins left="4233" top="4233" right="4233" bottom="4233"/>

  <Feature name="psk:PageMediaSize" displayName="Paper size">
    <Option name="psk:ISOA3">
      <ScoredProperty name="psk:MediaSizeWidth" integer="297000"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="420000"/>
    </Option>
    <Option name="psk:ISOA4" default="true">
      <ScoredProperty name="psk:MediaSizeWidth" integer="210000"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="297000"/>
    </Option>
    <Option name="psk:ISOA5">
      <ScoredProperty name="psk:MediaSizeWidth" integer="148000"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="210000"/>
    </Option>
    <Option name="psk:ISOA6">
      <ScoredProperty name="psk:MediaSizeWidth" integer="105000"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="148000"/>
    </Option>
    <Option name="psk:JISB4">
      <ScoredProperty name="psk:MediaSizeWidth" integer="257000"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="364000"/>
    </Option>
    <Option name="psk:JISB5">
      <ScoredProperty name="psk:MediaSizeWidth" integer="182000"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="257000"/>
    </Option>
    <Option name="psk:NorthAmericaLetter">
      <ScoredProperty name="psk:MediaSizeWidth" integer="215900"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="279400"/>
    </Option>
    <Option name="psk:NorthAmericaLegal">
      <ScoredProperty name="psk:MediaSizeWidth" integer="215900"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="355600"/>
    </Option>
    <Option name="psk:NorthAmericaExecutive">
      <ScoredProperty name="psk:MediaSizeWidth" integer="184150"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="266700"/>
    </Option>
    <Option name="psk:NorthAmericaTabloid">
      <ScoredProperty name="psk:MediaSizeWidth" integer="279400"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="431800"/>
    </Option>
    <Option name="psk:ISODLEnvelope">
      <ScoredProperty name="psk:MediaSizeWidth" integer="110000"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="220000"/>
      <ImageableMargins left="10000" top="10000" right="10000" bottom="10000"/>
    </Option>
    <Option name="psk:ISOC5Envelope">
      <ScoredProperty name="psk:MediaSizeWidth" integer="162000"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="229000"/>
      <ImageableMargins left="10000" top="10000" right="10000" bottom="10000"/>
    </Option>
    <Option name="psk:NorthAmericaNumber10Envelope">
      <ScoredProperty name="psk:MediaSizeWidth" integer="104775"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="241300"/>
      <ImageableMargins left="10000" top="10000" right="10000" bottom="10000"/>
    </Option>
    <Option name="psk:JapanHagakiPostcard">
      <ScoredProperty name="psk:MediaSizeWidth" integer="100000"/>
      <ScoredProperty name="psk:MediaSizeHeight" integer="148000"/>
      <ImageableMargins left="5000" top="5000" right="5000" bottom="5000"/>
    </Option>
    <Option name="psk:CustomMediaSize">
      <ScoredProperty name="psk:MediaSizeWidth" parameter="psk:PageMediaSizeMediaSizeWidth"/>
      <ScoredProperty name="psk:MediaSizeHeight" parameter="psk:PageMediaSizeMediaSizeHeight"/>
    </Option>
  </Feature>
  <Parameter name="psk:PageMediaSizeMediaSizeWidth" type="integer" default="210000" min="76200" max="297000" unit="microns"/>
  <Parameter name="psk:PageMediaSizeMediaSizeHeight" type="integer" default="297000" min="127000" max="431800" unit="microns"/>

  <Feature name="psk:PageOrientation" displayName="Orientation">
    <Option name="psk:Portrait" default="true"/>
    <Option name="psk:Landscape"/>
    <Option name="psk:ReversePortrait"/>
    <Option name="psk:ReverseLandscape"/>
  </Feature>

  <Feature name="psk:PageResolution" displayName="Resolution">
    <Option name="xc:Resolution1200x1200">
      <ScoredProperty name="psk:ResolutionX" integer="1200"/>
      <ScoredProperty name="psk:ResolutionY" integer="1200"/>
    </Option>
    <Option name="xc:Resolution600x600" default="true">
      <ScoredProperty name="psk:ResolutionX" integer="600"/>
      <ScoredProperty name="psk:ResolutionY" integer="600"/>
    </Option>
    <Option name="xc:Resolution300x300">
      <ScoredProperty name="psk:ResolutionX" integer="300"/>
      <ScoredProperty name="psk:ResolutionY" integer="300"/>
    </Option>
    <Option name="xc:Resolution200x200">
      <ScoredProperty name="psk:ResolutionX" integer="200"/>
      <ScoredProperty name="psk:ResolutionY" integer="200"/>
    </Option>
    <Option name="xc:Resolution150x150">
      <ScoredProperty name="psk:ResolutionX" integer="150"/>
      <ScoredProperty name="psk:ResolutionY" integer="150"/>
    </Option>
    <Option name="xc:Resolution600x1200">
      <ScoredProperty name="psk:ResolutionX" integer="600"/>
      <ScoredProperty name="psk:ResolutionY" integer="1200"/>
    </Option>
  </Feature>

  <Feature name="psk:PageOutputColor" displayName="Colour">
    <Option name="psk:Color" default="true">
      <ScoredProperty name="psk:DeviceBitsPerPixel" integer="24"/>
      <ScoredProperty name="psk:DriverBitsPerPixel" integer="24"/>
    </Option>
    <Option name="psk:Grayscale">
      <ScoredProperty name="psk:DeviceBitsPerPixel" integer="8"/>
      <ScoredProperty name="psk:DriverBitsPerPixel" integer="8"/>
    </Option>
    <Option name="psk:Monochrome">
      <ScoredProperty name="psk:DeviceBitsPerPixel" integer="1"/>
      <ScoredProperty name="psk:DriverBitsPerPixel" integer="1"/>
    </Option>
  </Feature>

  <Parameter name="psk:JobCopiesAllDocuments" displayName="Copies" type="integer" default="1" min="1" max="999" unit="copies"/>
  <Feature name="psk:DocumentCollate" displayName="Collate">
    <Option name="psk:Collated" default="true"/>
    <Option name="psk:Uncollated"/>
  </Feature>
  <Feature name="psk:JobDuplexAllDocumentsContiguously" displayName="Two-sided printing">
    <Option name="psk:OneSided" default="true"/>
    <Option name="psk:TwoSidedShortEdge"/>
    <Option name="psk:TwoSidedLongEdge"/>
  </Feature>

  <Feature name="psk:JobNUpAllDocumentsContiguously" displayName="Pages per sheet">
    <Option default="true">
      <ScoredProperty name="psk:PagesPerSheet" integer="1"/>
    </Option>
    <Option>
      <ScoredProperty name="psk:PagesPerSheet" integer="2"/>
    </Option>
    <Option>
      <ScoredProperty name="psk:PagesPerSheet" integer="4"/>
    </Option>
    <Option>
      <ScoredProperty name="psk:PagesPerSheet" integer="9"/>
    </Option>
    <Option>
      <ScoredProperty name="psk:PagesPerSheet" integer="16"/>
    </Option>
    <Option>
      <ScoredProperty name="psk:PagesPerSheet" integer="25"/>
    </Option>
    <Feature name="psk:PresentationDirection">
      <Option name="psk:RightBottom" default="true"/>
      <Option name="psk:BottomRight"/>
      <Option name="psk:LeftBottom"/>
      <Option name="psk:BottomLeft"/>
    </Feature>
    <Feature name="xc:BorderLine">
      <Option name="xc:None"/>
      <Option name="xc:SolidLine" default="true"/>
      <Option name="xc:BreakLine"/>
    </Feature>
  </Feature>

  <Feature name="psk:JobBindAllDocuments" displayName="Binding">
    <Property name="xc:BindingOptionControl" string="On"/>
    <Option name="psk:BindBottom">
      <ScoredProperty name="psk:BindingGutter" parameter="psk:JobBindAllDocumentsGutter"/>
    </Option>
    <Option name="psk:BindLeft" default="true">
      <ScoredProperty name="psk:BindingGutter" parameter="psk:JobBindAllDocumentsGutter"/>
    </Option>
    <Option name="psk:BindRight">
      <ScoredProperty name="psk:BindingGutter" parameter="psk:JobBindAllDocumentsGutter"/>
    </Option>
    <Option name="psk:BindTop">
      <ScoredProperty name="psk:BindingGutter" parameter="psk:JobBindAllDocumentsGutter"/>
    </Option>
    <Option name="psk:Booklet">
      <ScoredProperty name="psk:BindingGutter" parameter="psk:JobBindAllDocumentsGutter"/>
    </Option>
    <Option name="xc:BookletReverseFlip">
      <ScoredProperty name="psk:BindingGutter" parameter="psk:JobBindAllDocumentsGutter"/>
    </Option>
    <Feature name="xc:BindingGutterControl">
      <Option name="xc:Off" default="true"/>
      <Option name="xc:On"/>
    </Feature>
    <Feature name="xc:BindingUnit">
      <Option name="xc:microns" default="true"/>
      <Option name="xc:inches"/>
    </Feature>
    <Feature name="xc:BookletPrintingMethod">
      <Option name="xc:AllPagesAtOnce" default="true"/>
      <Option name="xc:DivideIntoSets"/>
    </Feature>
  </Feature>
  <Parameter name="psk:JobBindAllDocumentsGutter" displayName="Binding gutter" type="integer" default="0" min="0" max="203200" unit="microns"/>
  <Parameter name="xc:JobBindBookletDivideSheets" displayName="Sheets per booklet set" type="integer" default="5" min="1" max="15" unit="Sheets"/>

  <Feature name="psk:PagePoster" displayName="Poster">
    <Option name="xc:Off" default="true"/>
    <Option name="xc:Poster2x2">
      <ScoredProperty name="psk:SheetsPerPage" integer="4"/>
    </Option>
    <Option name="xc:Poster3x3">
      <ScoredProperty name="psk:SheetsPerPage" integer="9"/>
    </Option>
    <Option name="xc:Poster4x4">
      <ScoredProperty name="psk:SheetsPerPage" integer="16"/>
    </Option>
    <Option name="xc:Poster5x5">
      <ScoredProperty name="psk:SheetsPerPage" integer="25"/>
    </Option>
    <Feature name="xc:PagePrintCutOutLine">
      <Option name="xc:Off" default="true"/>
      <Option name="xc:On"/>
    </Feature>
  </Feature>

  <Feature name="psk:PageScaling" displayName="Scaling">
    <Option name="psk:None" default="true"/>
    <Option name="xc:FitToPaper"/>
    <Option name="psk:CustomSquare">
      <ScoredProperty name="psk:Scale" parameter="psk:PageScalingScale"/>
      <ScoredProperty name="psk:OffsetWidth" parameter="psk:PageScalingOffsetWidth"/>
      <ScoredProperty name="psk:OffsetHeight" parameter="psk:PageScalingOffsetHeight"/>
    </Option>
    <Option name="psk:FitApplicationBleedSizeToPageImageableSize"/>
    <Option name="psk:FitApplicationContentSizeToPageImageableSize"/>
    <Option name="psk:FitApplicationMediaSizeToPageImageableSize"/>
    <Option name="psk:FitApplicationMediaSizeToPageMediaSize"/>
    <Feature name="psk:ScaleOffsetAlignment">
      <Option name="psk:BottomCenter"/>
      <Option name="psk:BottomLeft"/>
      <Option name="psk:BottomRight"/>
      <Option name="psk:Center" default="true"/>
      <Option name="psk:LeftCenter"/>
      <Option name="psk:RightCenter"/>
      <Option name="psk:TopCenter"/>
      <Option name="psk:TopLeft"/>
      <Option name="psk:TopRight"/>
    </Feature>
    <Feature name="xc:FitMediaSize">
      <Option name="psk:ISOA3">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="297000"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="420000"/>
      </Option>
      <Option name="psk:ISOA4" default="true">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="210000"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="297000"/>
      </Option>
      <Option name="psk:ISOA5">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="148000"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="210000"/>
      </Option>
      <Option name="psk:ISOA6">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="105000"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="148000"/>
      </Option>
      <Option name="psk:JISB4">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="257000"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="364000"/>
      </Option>
      <Option name="psk:JISB5">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="182000"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="257000"/>
      </Option>
      <Option name="psk:NorthAmericaLetter">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="215900"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="279400"/>
      </Option>
      <Option name="psk:NorthAmericaLegal">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="215900"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="355600"/>
      </Option>
      <Option name="psk:NorthAmericaExecutive">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="184150"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="266700"/>
      </Option>
      <Option name="psk:NorthAmericaTabloid">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="279400"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="431800"/>
      </Option>
      <Option name="psk:ISODLEnvelope">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="110000"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="220000"/>
      </Option>
      <Option name="psk:ISOC5Envelope">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="162000"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="229000"/>
      </Option>
      <Option name="psk:NorthAmericaNumber10Envelope">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="104775"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="241300"/>
      </Option>
      <Option name="psk:JapanHagakiPostcard">
        <ScoredProperty name="psk:FitMediaSizeWidth" integer="100000"/>
        <ScoredProperty name="psk:FitMediaSizeHeight" integer="148000"/>
      </Option>
    </Feature>
  </Feature>
  <Parameter name="psk:PageScalingScale" type="integer" default="100" min="1" max="1000" unit="percent"/>
  <Parameter name="psk:PageScalingOffsetWidth" type="integer" default="4233" min="-431800" max="431800" unit="microns"/>
  <Parameter name="psk:PageScalingOffsetHeight" type="integer" default="4233" min="-431800" max="431800" unit="microns"/>

  <Feature name="psk:PageWatermark" displayName="Watermark">
    <Option name="psk:Off" default="true"/>
    <Option name="psk:On"/>
    <Feature name="xc:LayoutOrder">
      <Option name="xc:Background"/>
      <Option name="xc:Foreground" default="true"/>
    </Feature>
    <Feature name="xc:OverlayMethod">
      <Option name="xc:Transparent"/>
      <Option name="xc:Opaque" default="true"/>
    </Feature>
    <Feature name="xc:OutlineTxt">
      <Option name="xc:Off" default="true"/>
      <Option name="xc:On"/>
    </Feature>
    <Feature name="xc:CustomSettings">
      <Option name="xc:Off" default="true"/>
      <Option name="xc:On"/>
    </Feature>
  </Feature>

  <Feature name="xc:PageHeaderFooter" displayName="Header and footer">
    <Option name="xc:Off" default="true"/>
    <Option name="xc:On"/>
    <Feature name="xc:DateFormat">
      <Option name="xc:Type1">
        <ScoredProperty name="xc:StringFormat" string="%04d/%02d/%02d"/>
        <ScoredProperty name="xc:DataFormat" string="ymd"/>
      </Option>
      <Option name="xc:Type2">
        <ScoredProperty name="xc:StringFormat" string="%02d/%02d/%04d"/>
        <ScoredProperty name="xc:DataFormat" string="mdy"/>
      </Option>
      <Option name="xc:Type3">
        <ScoredProperty name="xc:StringFormat" string="%02d/%02d/%04d"/>
        <ScoredProperty name="xc:DataFormat" string="dmy"/>
      </Option>
      <Option name="xc:Type4">
        <ScoredProperty name="xc:StringFormat" string="%04d-%02d-%02d"/>
        <ScoredProperty name="xc:DataFormat" string="ymd"/>
      </Option>
      <Option name="xc:Type5">
        <ScoredProperty name="xc:StringFormat" string="%02d.%02d.%04d"/>
        <ScoredProperty name="xc:DataFormat" string="dmy"/>
      </Option>
      <Option name="xc:Type6">
        <ScoredProperty name="xc:StringFormat" string="%s %d, %04d"/>
        <ScoredProperty name="xc:DataFormat" string="Mdy"/>
      </Option>
      <Option name="xc:Type7">
        <ScoredProperty name="xc:StringFormat" string="%s, %s %d, %04d"/>
        <ScoredProperty name="xc:DataFormat" string="WMdy"/>
      </Option>
      <Option name="xc:Type8">
        <ScoredProperty name="xc:StringFormat" string="%d %s %04d"/>
        <ScoredProperty name="xc:DataFormat" string="dMy"/>
      </Option>
      <Option name="xc:None" default="true"/>
    </Feature>
    <Feature name="xc:TimeFormat">
      <Option name="xc:Type1">
        <ScoredProperty name="xc:StringFormat" string="%02d:%02d"/>
        <ScoredProperty name="xc:DataFormat" string="hm"/>
      </Option>
      <Option name="xc:Type2">
        <ScoredProperty name="xc:StringFormat" string="%02d:%02d:%02d"/>
        <ScoredProperty name="xc:DataFormat" string="hms"/>
      </Option>
      <Option name="xc:Type3">
        <ScoredProperty name="xc:StringFormat" string="%d:%02d %s"/>
        <ScoredProperty name="xc:DataFormat" string="Hma"/>
      </Option>
      <Option name="xc:Type4">
        <ScoredProperty name="xc:StringFormat" string="%d:%02d:%02d %s"/>
        <ScoredProperty name="xc:DataFormat" string="Hmsa"/>
      </Option>
      <Option name="xc:Type5">
        <ScoredProperty name="xc:StringFormat" string="%s %d:%02d"/>
        <ScoredProperty name="xc:DataFormat" string="aHm"/>
      </Option>
      <Option name="xc:Type6">
        <ScoredProperty name="xc:StringFormat" string="%s %d:%02d:%02d"/>
        <ScoredProperty name="xc:DataFormat" string="aHms"/>
      </Option>
      <Option name="xc:Type7">
        <ScoredProperty name="xc:StringFormat" string="%02dh%02d"/>
        <ScoredProperty name="xc:DataFormat" string="hm"/>
      </Option>
      <Option name="xc:Type8">
        <ScoredProperty name="xc:StringFormat" string="%02d.%02d.%02d"/>
        <ScoredProperty name="xc:DataFormat" string="hms"/>
      </Option>
      <Option name="xc:None" default="true"/>
    </Feature>
    <Feature name="xc:IDPrint">
      <Option name="xc:UserName"/>
      <Option name="xc:Custom"/>
      <Option name="xc:None" default="true"/>
    </Feature>
    <Feature name="xc:PositionX">
      <Option name="xc:Left"/>
      <Option name="xc:Center"/>
      <Option name="xc:Right" default="true"/>
    </Feature>
    <Feature name="xc:PositionY">
      <Option name="xc:Top"/>
      <Option name="xc:Bottom" default="true"/>
    </Feature>
    <Feature name="xc:Background">
      <Option name="xc:Transparent" default="true"/>
      <Option name="xc:Opaque"/>
    </Feature>
  </Feature>

  <Feature name="psk:PageMirrorImage" displayName="Mirror image">
    <Option name="psk:MirrorImageWidth"/>
    <Option name="psk:MirrorImageHeight"/>
    <Option name="psk:None" default="true"/>
  </Feature>
  <Feature name="xc:PageReverseImage" displayName="Reverse image">
    <Option name="xc:Off" default="true"/>
    <Option name="xc:On"/>
  </Feature>
  <Feature name="psk:PageInputBin" displayName="Paper source">
    <Option name="psk:AutoSelect" default="true"/>
    <Option name="psk:Manual"/>
    <Option name="xc:Tray1"/>
    <Option name="xc:Tray2"/>
    <Option name="xc:Tray3"/>
    <Option name="xc:Tray4"/>
    <Option name="xc:MPTray"/>
  </Feature>
  <Feature name="xc:JobInput2ndBin" displayName="Paper source of the other pages">
    <Option name="xc:SameTray" default="true"/>
    <Option name="psk:AutoSelect"/>
    <Option name="psk:Manual"/>
    <Option name="xc:Tray1"/>
    <Option name="xc:Tray2"/>
    <Option name="xc:Tray3"/>
    <Option name="xc:Tray4"/>
    <Option name="xc:MPTray"/>
  </Feature>

  <!-- Properties of the default ticket: the settings records of the filters with their neutral values. -->
  <Property name="xc:PageMediaSizeData">
    <Property name="xc:CustomUnitType" string="mm"/>
    <Property name="xc:TransverseMode" string="Off"/>
    <Property name="xc:ThicknessType" string="Regular"/>
    <Property name="xc:UseFixedMargin" string="Off"/>
    <Property name="xc:DocMarginLeft" integer="-1"/>
    <Property name="xc:DocMarginRight" integer="-1"/>
    <Property name="xc:DocMarginTop" integer="-1"/>
    <Property name="xc:DocMarginBottom" integer="-1"/>
    <Property name="xc:OutMarginLeft" integer="-1"/>
    <Property name="xc:OutMarginRight" integer="-1"/>
    <Property name="xc:OutMarginTop" integer="-1"/>
    <Property name="xc:OutMarginBottom" integer="-1"/>
    <Property name="xc:CustomPaperTemp" integer="256"/>
  </Property>
  <Property name="xc:JobInfoData">
    <Property name="xc:DefaultUserName" string=""/>
    <Property name="xc:ComputerName" string=""/>
    <Property name="xc:CodePage" integer="1252"/>
  </Property>
  <Property name="xc:JobSettingData">
    <Property name="xc:SeparateTrayMode" string="Off"/>
    <Property name="xc:DivideCondition" string=""/>
    <Property name="xc:BandingPortraitFlag" integer="0"/>
    <Property name="xc:BandingPortraitSize" integer="0"/>
    <Property name="xc:BandingLandscapeFlag" integer="0"/>
    <Property name="xc:BandingLandscapeSize" integer="0"/>
  </Property>
  <Property name="xc:JobSecretFunctionData">
    <Property name="xc:HalftoneReduction" string="Off"/>
    <Property name="xc:DraftMode" string="Off"/>
  </Property>
  <Property name="xc:JobDuplexData">
    <Property name="xc:TraySeparationMode" string="DuplexPrintFirstPage"/>
  </Property>
  <Property name="xc:PagePosterData">
    <Property name="xc:HideFlag" integer="0"/>
  </Property>
  <Property name="xc:PageScalingData">
    <Property name="xc:ScalePrintableArea" string="Off"/>
    <Property name="xc:CorrectFixedPageSize" string="Off"/>
    <Property name="xc:FitToCustomPaperTemp" integer="256"/>
  </Property>
  <Property name="xc:PageWatermarkData">
    <Property name="xc:Title" string=""/>
    <Property name="xc:WatermarkSettings">
      <Property name="xc:ID" integer="0"/>
      <Property name="xc:Type" string="Text"/>
      <Property name="xc:PostionX" integer="0"/>
      <Property name="xc:PostionY" integer="0"/>
      <Property name="xc:FontColor" integer="12632256"/>
      <Property name="xc:FontSize" integer="72"/>
      <Property name="xc:Text" string=""/>
      <Property name="xc:Angle" integer="45"/>
      <Property name="xc:FontName" string="Arial"/>
      <Property name="xc:FontItalicStyle" integer="0"/>
      <Property name="xc:FontBoldStyle" integer="0"/>
      <Property name="xc:Filename" string=""/>
      <Property name="xc:Scaling" integer="100"/>
      <Property name="xc:SubData" integer="0"/>
      <Property name="xc:BmpLightness" integer="0"/>
    </Property>
    <Property name="xc:CustomWatermarkSettingsFirst">
      <Property name="xc:ID" integer="0"/>
      <Property name="xc:Type" string="Text"/>
      <Property name="xc:PostionX" integer="0"/>
      <Property name="xc:PostionY" integer="0"/>
      <Property name="xc:FontColor" integer="12632256"/>
      <Property name="xc:FontSize" integer="72"/>
      <Property name="xc:Text" string=""/>
      <Property name="xc:Angle" integer="45"/>
      <Property name="xc:FontName" string="Arial"/>
      <Property name="xc:FontItalicStyle" integer="0"/>
      <Property name="xc:FontBoldStyle" integer="0"/>
      <Property name="xc:Filename" string=""/>
      <Property name="xc:Scaling" integer="100"/>
      <Property name="xc:SubData" integer="0"/>
      <Property name="xc:BmpLightness" integer="0"/>
    </Property>
    <Property name="xc:CustomWatermarkSettingsOther">
      <Property name="xc:ID" integer="0"/>
      <Property name="xc:Type" string="Text"/>
      <Property name="xc:PostionX" integer="0"/>
      <Property name="xc:PostionY" integer="0"/>
      <Property name="xc:FontColor" integer="12632256"/>
      <Property name="xc:FontSize" integer="72"/>
      <Property name="xc:Text" string=""/>
      <Property name="xc:Angle" integer="45"/>
      <Property name="xc:FontName" string="Arial"/>
      <Property name="xc:FontItalicStyle" integer="0"/>
      <Property name="xc:FontBoldStyle" integer="0"/>
      <Property name="xc:Filename" string=""/>
      <Property name="xc:Scaling" integer="100"/>
      <Property name="xc:SubData" integer="0"/>
      <Property name="xc:BmpLightness" integer="0"/>
    </Property>
  </Property>
  <Property name="xc:PageHeaderFooterData">
    <Property name="xc:FontSettings">
      <Property name="xc:FontName" string="Arial"/>
      <Property name="xc:FontCharSet" integer="1"/>
      <Property name="xc:FontItalicStyle" integer="0"/>
      <Property name="xc:FontBoldStyle" integer="0"/>
      <Property name="xc:FontUnderLine" integer="0"/>
      <Property name="xc:FontStruckOut" integer="0"/>
      <Property name="xc:FontSize" integer="11"/>
      <Property name="xc:FontColor" integer="0"/>
    </Property>
    <Property name="xc:IDPrintCustomName" string=""/>
    <Property name="xc:BackgroudColor" integer="16777215"/>
  </Property>
</PrinterDescription>
)xml";

} // namespace printschema
